#include "protocol.h"

#include "wintext.h"

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
    std::string data(pending());
    data.append(bytes);
    tailLength = 0;
    std::vector<Message> messages;

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
