#include "protocol.h"

#include "wintext.h"

#include <algorithm>
#include <iterator>
#include <optional>

namespace protocol {

namespace {

    std::string withArgument(std::string_view token, char argument)
    {
        std::string message(token);
        message += argument;
        return message;
    }

    struct FixedToken {
        std::string_view token;
        std::size_t arguments;
        MessageKind kind;
    };

    constexpr FixedToken fixedTokens[] = {
        { ShotToken, 2, MessageKind::Shot },
        { ReplyToken, 1, MessageKind::Reply },
        { SunkToken, 1, MessageKind::Sunk },
        { WinGameMessage, 0, MessageKind::WinGame },
        { ExchangeMachineMessage, 0, MessageKind::ExchangeMachine },
    };

    constexpr std::string_view RandomizedSuffix
        = ReadyRandomizedMessage.substr(ReadyMessage.size());

    bool isProperPrefix(std::string_view part, std::string_view whole)
    {
        return part.size() < whole.size() && whole.starts_with(part);
    }

    constexpr std::string_view everyToken[] = { ShotToken, ReplyToken, SunkToken, WinGameMessage,
        ExchangeMachineMessage, ReadyMessage, ReadyRandomizedMessage, ChatToken };

    bool isColumnLetter(char byte) { return byte >= 'A' && byte <= 'J'; }
    bool isDigit(char byte) { return byte >= '0' && byte <= '9'; }

    // Whether the bytes of a new read go on with the unfinished message held from the last:
    // the rest of its token, or what its arguments can be. A held chat token takes the read
    // as its text unless the read starts with another message.
    bool continues(std::string_view held, std::string_view bytes)
    {
        for (std::string_view token : everyToken) {
            if (!isProperPrefix(held, token))
                continue;
            const std::string_view rest = token.substr(held.size());
            const std::size_t compared = std::min(rest.size(), bytes.size());
            if (rest.substr(0, compared) == bytes.substr(0, compared))
                return true;
        }
        if (held.starts_with(ShotToken)) {
            const std::string_view given = held.substr(ShotToken.size());
            if (!given.empty())
                return isDigit(bytes[0]);
            return isColumnLetter(bytes[0]) && (bytes.size() < 2 || isDigit(bytes[1]));
        }
        if (held == ReplyToken)
            return bytes[0] == MissArgument || isDigit(bytes[0]);
        if (held == SunkToken)
            return isDigit(bytes[0]);
        if (held == ChatToken) {
            return std::none_of(std::begin(everyToken), std::end(everyToken),
                [bytes](std::string_view token) { return bytes.starts_with(token); });
        }
        return false;
    }

    // What a held message means when the next read does not finish it: a shot short of its
    // cell names none, a reply short of its argument has none, a chat token alone is an empty
    // line, a ready short of its suffix is a plain one. A part of a token means nothing.
    std::optional<Message> cutShort(std::string_view held)
    {
        if (held.starts_with(ShotToken)) {
            const std::string_view given = held.substr(ShotToken.size());
            return Message { MessageKind::Shot, given.empty() ? '\0' : given[0], '\0', false, {} };
        }
        if (held == ReplyToken)
            return Message { MessageKind::Reply, '\0', 0, false, {} };
        if (held == SunkToken)
            return Message { MessageKind::Sunk, '\0', 0, false, {} };
        if (held == ChatToken)
            return Message { MessageKind::Chat, 0, 0, false, {} };
        if (held.starts_with(ReadyMessage))
            return Message { MessageKind::Ready, 0, 0, false, {} };
        return std::nullopt;
    }

} // namespace

std::string formShot(int column, int row)
{
    std::string message(ShotToken);
    message += static_cast<char>('A' + column);
    message += static_cast<char>('0' + row);
    return message;
}

std::string formMiss() { return withArgument(ReplyToken, MissArgument); }

std::string formHit(int length)
{
    return withArgument(ReplyToken, static_cast<char>('0' + length));
}

std::string formSunk(int length)
{
    return withArgument(SunkToken, static_cast<char>('0' + length));
}

std::string formChat(std::string_view utf8Text)
{
    return std::string(ChatToken) + toWindows1252(utf8Text);
}

std::vector<Message> MessageReader::feed(std::string_view bytes)
{
    std::vector<Message> messages;
    if (bytes.empty())
        return messages;
    std::string data;
    if (tailLength > 0) {
        const std::string_view held = pending();
        if (continues(held, bytes)) {
            data = held;
        } else if (std::optional<Message> cut = cutShort(held)) {
            messages.push_back(std::move(*cut));
        }
        tailLength = 0;
    }
    data.append(bytes);

    // Keeps the rest of the data for the next read: it begins a message not yet complete.
    auto keep = [this](std::string_view rest) { tailLength = rest.copy(tail.data(), tail.size()); };

    std::size_t position = 0;
    while (position < data.size()) {
        const std::string_view rest = std::string_view(data).substr(position);

        if (rest.starts_with(ChatToken)) {
            std::string_view text = rest.substr(ChatToken.size());
            if (text.empty()) {
                keep(rest); // the text is on its way: an empty line is never sent
                break;
            }
            text = text.substr(0, text.find('\0'));
            messages.push_back({ MessageKind::Chat, 0, 0, false, fromWindows1252(text) });
            break;
        }

        if (rest.starts_with(ReadyMessage)) {
            const std::string_view after = rest.substr(ReadyMessage.size());
            if (after.starts_with(RandomizedSuffix)) {
                messages.push_back({ MessageKind::Ready, 0, 0, true, {} });
                position += ReadyRandomizedMessage.size();
            } else if (!after.empty() && isProperPrefix(after, RandomizedSuffix)) {
                keep(rest);
                break;
            } else {
                // A plain ready, or one whose suffix has not come yet: a peer waits for our
                // answer to its ready, so it is acted on now.
                messages.push_back({ MessageKind::Ready, 0, 0, false, {} });
                position += ReadyMessage.size();
            }
            continue;
        }

        bool matched = false;
        bool unfinished = false;
        for (const FixedToken& fixed : fixedTokens) {
            if (rest.starts_with(fixed.token)) {
                if (rest.size() < fixed.token.size() + fixed.arguments) {
                    unfinished = true;
                } else {
                    Message message { fixed.kind, 0, 0, false, {} };
                    if (fixed.arguments > 0)
                        message.first = rest[fixed.token.size()];
                    if (fixed.arguments > 1)
                        message.second = rest[fixed.token.size() + 1];
                    messages.push_back(std::move(message));
                    position += fixed.token.size() + fixed.arguments;
                    matched = true;
                }
                break;
            }
            if (isProperPrefix(rest, fixed.token))
                unfinished = true;
        }
        if (!unfinished && (isProperPrefix(rest, ChatToken) || isProperPrefix(rest, ReadyMessage)))
            unfinished = true;
        if (unfinished) {
            keep(rest);
            break;
        }
        if (!matched)
            ++position;
    }
    return messages;
}

} // namespace protocol
