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
        // A chat token takes what follows as its text; messages glued behind the text are
        // found there as in any chat line.
        if (held == ChatToken)
            return !bytes.starts_with(ChatToken);
        return false;
    }

    // The grammar of the messages as a sender forms them, arguments included: a column letter
    // A-J and a row digit, '*' or a digit. A chat line that ends in such messages carries them
    // glued behind it, which a chat line we send never does (see formChat).

    // The length of the message at the start of the bytes, or 0.
    std::size_t completeMessage(std::string_view bytes)
    {
        if (bytes.empty() || (bytes[0] != '$' && bytes[0] != 'T'))
            return 0; // what every message begins with; most text is quickly passed over
        for (std::string_view whole :
            { ReadyRandomizedMessage, ReadyMessage, WinGameMessage, ExchangeMachineMessage }) {
            if (bytes.starts_with(whole))
                return whole.size();
        }
        if (bytes.size() >= ShotToken.size() + 2 && bytes.starts_with(ShotToken)
            && isColumnLetter(bytes[5]) && isDigit(bytes[6]))
            return ShotToken.size() + 2;
        if (bytes.size() >= ReplyToken.size() + 1 && bytes.starts_with(ReplyToken)
            && (bytes[5] == MissArgument || isDigit(bytes[5])))
            return ReplyToken.size() + 1;
        if (bytes.size() >= SunkToken.size() + 1 && bytes.starts_with(SunkToken)
            && isDigit(bytes[5]))
            return SunkToken.size() + 1;
        return 0;
    }

    // Whether the bytes are the beginning of a message and no more: what a cut leaves.
    bool unfinishedMessage(std::string_view bytes)
    {
        if (bytes.empty() || completeMessage(bytes) == bytes.size())
            return false;
        for (std::string_view whole :
            { ReadyRandomizedMessage, WinGameMessage, ExchangeMachineMessage }) {
            if (isProperPrefix(bytes, whole))
                return true;
        }
        if (bytes.size() <= ShotToken.size() + 1 && ShotToken.starts_with(bytes.substr(0, 5)))
            return bytes.size() <= ShotToken.size() || isColumnLetter(bytes[5]);
        return ReplyToken.starts_with(bytes) || SunkToken.starts_with(bytes);
    }

    // Which ends of the bytes can close a run of glued messages: after one message or more, at
    // most the beginning of one more, or a chat line. ends[i] is set when bytes[i..] can.
    std::vector<char> runEnds(std::string_view bytes)
    {
        std::vector<char> ends(bytes.size() + 1, 0);
        ends[bytes.size()] = 1;
        for (std::size_t i = bytes.size(); i-- > 0;) {
            const std::string_view rest = bytes.substr(i);
            const std::size_t length = completeMessage(rest);
            ends[i] = (length > 0 && ends[i + length]) || unfinishedMessage(rest)
                || rest.starts_with(ChatToken) || isProperPrefix(rest, ChatToken);
        }
        return ends;
    }

    // Whether a run of glued messages starts at bytes[at] and lasts to their end. A ready
    // followed by the beginning of its suffix counts, since the ready itself is whole.
    bool runsFrom(std::string_view bytes, const std::vector<char>& ends, std::size_t at)
    {
        const std::string_view rest = bytes.substr(at);
        const std::size_t first = completeMessage(rest);
        return (first > 0 && ends[at + first])
            || (rest.starts_with(ReadyMessage) && unfinishedMessage(rest));
    }

    bool isMessageRun(std::string_view bytes) { return runsFrom(bytes, runEnds(bytes), 0); }

    // Where runs of glued messages begin: starts[i] is the earliest place at or after i from
    // which the rest of the bytes is a run of messages, npos when there is none. Whether a run
    // starts at a place depends on the bytes from there on alone, so one pass over a read
    // serves each chat text in it, each running to the read's end: a read of many short
    // chat lines costs no more than one of shots.
    std::vector<std::size_t> runStarts(std::string_view bytes)
    {
        const std::vector<char> ends = runEnds(bytes);
        std::vector<std::size_t> starts(bytes.size() + 1, std::string_view::npos);
        for (std::size_t at = bytes.size(); at-- > 0;)
            starts[at] = runsFrom(bytes, ends, at) ? at : starts[at + 1];
        return starts;
    }

    // The longest end of a chat text that is the beginning of a message: it may be one cut by
    // the network, completed by the next read; 0 when the text ends in none.
    std::size_t unfinishedEnd(std::string_view text)
    {
        for (std::size_t length = std::min<std::size_t>(text.size(), 19); length > 0; --length) {
            if (unfinishedMessage(text.substr(text.size() - length)))
                return length;
        }
        return 0;
    }

    Message chatMessage(std::string_view text)
    {
        return { MessageKind::Chat, 0, 0, false, fromWindows1252(text.substr(0, text.find('\0'))) };
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
    const std::string text = toWindows1252(utf8Text);
    std::string message(ChatToken);
    message.reserve(message.size() + text.size() + 8);
    for (std::size_t at = 0; at < text.size(); ++at) {
        const std::string_view rest = std::string_view(text).substr(at);
        if (rest.starts_with(ShotToken) || rest.starts_with(ReplyToken)
            || rest.starts_with(SunkToken)) {
            message.append(rest.substr(0, 4)).append(" :");
            at += 4;
            continue;
        }
        message.push_back(text[at]);
        for (std::string_view name : { ReadyMessage, WinGameMessage, ExchangeMachineMessage }) {
            if (rest.starts_with(name) || rest == name.substr(0, name.size() - 1))
                message.push_back(' ');
        }
    }
    return message;
}

std::size_t chatThatFits(std::string_view utf8Text)
{
    const auto fits = [utf8Text](std::size_t length) {
        return formChat(utf8Text.substr(0, length)).size() <= ReadSize;
    };
    if (fits(utf8Text.size()))
        return utf8Text.size();
    std::vector<std::size_t> ends; // of the text's characters, in bytes
    for (std::size_t at = 1; at <= utf8Text.size(); ++at) {
        if (at == utf8Text.size() || (static_cast<unsigned char>(utf8Text[at]) & 0xC0) != 0x80)
            ends.push_back(at);
    }
    // The message grows with the text: the beginnings that fit come before those that do not.
    const auto tooLong = std::partition_point(ends.begin(), ends.end(), fits);
    return tooLong == ends.begin() ? 0 : *(tooLong - 1);
}

std::vector<Message> MessageReader::feed(std::string_view bytes)
{
    std::vector<Message> messages;
    if (bytes.empty())
        return messages;
    // A chat text, once its words are known, unless it says nothing (the zero byte ends it).
    auto chat = [&messages](std::string_view text) {
        Message line = chatMessage(text);
        if (!line.text.empty())
            messages.push_back(std::move(line));
    };

    std::string data;
    if (heldChat) {
        std::string joined = heldChat->unfinished;
        joined.append(bytes);
        if (isMessageRun(joined)) {
            if (!heldChat->shown)
                chat(heldChat->text);
            data = std::move(joined);
        } else if (unfinishedMessage(joined)) {
            heldChat->unfinished = std::move(joined);
            return messages;
        } else {
            if (!heldChat->shown)
                chat(heldChat->text + heldChat->unfinished);
            data = bytes;
        }
        heldChat.reset();
    } else {
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
    }

    // Keeps the rest of the data for the next read: it begins a message not yet complete.
    auto keep = [this](std::string_view rest) { tailLength = rest.copy(tail.data(), tail.size()); };

    std::vector<std::size_t> runs; // runStarts of the data, found at its first chat text
    std::size_t position = 0;
    while (position < data.size()) {
        const std::string_view rest = std::string_view(data).substr(position);

        if (rest.starts_with(ChatToken)) {
            const std::string_view text = rest.substr(ChatToken.size());
            if (text.empty()) {
                keep(rest); // the text is on its way: an empty line is never sent
                break;
            }
            // Messages glued behind the text are read as messages; an end that begins one is
            // held until the next read shows whether the network cut it.
            if (runs.empty())
                runs = runStarts(data);
            const std::size_t textAt = position + ChatToken.size();
            if (runs[textAt] != std::string_view::npos) {
                chat(text.substr(0, runs[textAt] - textAt));
                position = runs[textAt];
                continue;
            }
            const std::size_t unfinished = unfinishedEnd(text);
            if (unfinished > 0) {
                const std::size_t split = text.size() - unfinished;
                heldChat = HeldChat { std::string(text.substr(0, split)),
                    std::string(text.substr(split)), false };
                break;
            }
            messages.push_back(chatMessage(text));
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

std::optional<Message> MessageReader::showHeldChat()
{
    if (!holdsChat())
        return std::nullopt;
    heldChat->shown = true;
    return chatMessage(heldChat->text + heldChat->unfinished);
}

} // namespace protocol
