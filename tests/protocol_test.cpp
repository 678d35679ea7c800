#include "match/protocol.h"
#include "match/wintext.h"

#include <gtest/gtest.h>

namespace protocol {

void PrintTo(const Message& message, std::ostream* out)
{
    *out << "{kind " << static_cast<int>(message.kind) << " '" << message.first << "' '"
         << message.second << "' " << (message.randomized ? "randomized " : "") << '"'
         << message.text << "\"}";
}

} // namespace protocol

namespace {

using protocol::Message;
using protocol::MessageKind;
using protocol::MessageReader;

Message shot(char column, char row) { return { MessageKind::Shot, column, row, false, {} }; }
Message reply(char argument) { return { MessageKind::Reply, argument, 0, false, {} }; }
Message sunk(char argument) { return { MessageKind::Sunk, argument, 0, false, {} }; }
Message ready(bool randomized) { return { MessageKind::Ready, 0, 0, randomized, {} }; }
Message chat(std::string text) { return { MessageKind::Chat, 0, 0, false, std::move(text) }; }
const Message won { MessageKind::WinGame, 0, 0, false, {} };
const Message exchange { MessageKind::ExchangeMachine, 0, 0, false, {} };

std::vector<Message> readAll(std::initializer_list<std::string_view> reads)
{
    MessageReader reader;
    std::vector<Message> all;
    for (std::string_view bytes : reads) {
        for (Message& message : reader.feed(bytes))
            all.push_back(std::move(message));
    }
    return all;
}

TEST(Protocol, FormsEveryMessageByteExact)
{
    EXPECT_EQ(protocol::formShot(0, 0), "TIRO:A0");
    EXPECT_EQ(protocol::formShot(2, 7), "TIRO:C7");
    EXPECT_EQ(protocol::formShot(9, 9), "TIRO:J9");
    EXPECT_EQ(protocol::formMiss(), "TREQ:*");
    EXPECT_EQ(protocol::formHit(3), "TREQ:3");
    EXPECT_EQ(protocol::formSunk(1), "TAFQ:1");
    EXPECT_EQ(protocol::formChat("ola"), "USER_MSG:ola");
    EXPECT_EQ(protocol::formChat("olá"), "USER_MSG:ol\xE1");
    EXPECT_EQ(protocol::WinGameMessage, "$WINGAME$");
    EXPECT_EQ(protocol::ExchangeMachineMessage, "$XCHG_MACHINE$");
    EXPECT_EQ(protocol::ReadyMessage, "$READY$");
    EXPECT_EQ(protocol::ReadyRandomizedMessage, "$READY$ &RANDOMIZED");
    EXPECT_EQ(protocol::MaxChatBytes, 1015u);
}

TEST(Protocol, RecognisesEachMessageAlone)
{
    const std::pair<std::string_view, Message> cases[] = {
        { "TIRO:B3", shot('B', '3') },
        { "TREQ:*", reply('*') },
        { "TREQ:3", reply('3') },
        { "TAFQ:5", sunk('5') },
        { "$WINGAME$", won },
        { "$XCHG_MACHINE$", exchange },
        { "$READY$", ready(false) },
        { "$READY$ &RANDOMIZED", ready(true) },
        { "USER_MSG:ola", chat("ola") },
        { "USER_MSG:ol\xE1 \x80", chat("olá €") },
        { "USER_MSG:   ", chat("   ") },
    };
    for (const auto& [bytes, expected] : cases)
        EXPECT_EQ(readAll({ bytes }), std::vector { expected }) << bytes;
}

// Every message, cut at every byte position into two reads, is still read exactly once and
// in order. Two cuts cannot be mended, since nothing marks where those messages end: inside
// a chat line's text, and right after "$READY$", which is acted on as a plain ready at once
// because the peer that sent it may be waiting for the answer.
TEST(Protocol, MessagesCutAtEveryPositionArriveWhole)
{
    const std::string stream = "TIRO:A0TREQ:*TREQ:4$READY$ &RANDOMIZEDTAFQ:2$XCHG_MACHINE$"
                               "$READY$$WINGAME$USER_MSG:fim";
    const std::vector expected { shot('A', '0'), reply('*'), reply('4'), ready(true), sunk('2'),
        exchange, ready(false), won, chat("fim") };
    const std::size_t afterReady = stream.find("$READY$") + 7;
    const std::size_t chatText = stream.find("fim");
    for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
        const std::string_view all(stream);
        const auto read = readAll({ all.substr(0, cut), all.substr(cut) });
        if (cut == afterReady) {
            EXPECT_EQ(read[3], ready(false));
            EXPECT_EQ(read.size(), expected.size());
        } else if (cut > chatText && cut < stream.size()) {
            EXPECT_EQ(read.back(), chat(stream.substr(chatText, cut - chatText)));
        } else {
            EXPECT_EQ(read, expected) << cut;
        }
    }
}

TEST(Protocol, MessagesReadOneByteAtATimeArriveWhole)
{
    const std::string stream = "TIRO:J9TREQ:1TAFQ:3$WINGAME$$XCHG_MACHINE$$READY$";
    MessageReader reader;
    std::vector<Message> all;
    for (char byte : stream) {
        for (Message& message : reader.feed(std::string_view(&byte, 1)))
            all.push_back(std::move(message));
    }
    EXPECT_EQ(
        all, (std::vector { shot('J', '9'), reply('1'), sunk('3'), won, exchange, ready(false) }));
}

TEST(Protocol, SkipsBytesThatStartNoMessage)
{
    EXPECT_EQ(
        readAll({ "xxTIRO:B3yy$$WINGAME$\0\0TREQ:*" }), (std::vector { shot('B', '3'), won }));
    EXPECT_EQ(readAll({ std::string_view("xxTIRO:B3yy$$WINGAME$\0\0TREQ:*", 29) }),
        (std::vector { shot('B', '3'), won, reply('*') }));
    EXPECT_EQ(
        readAll({ "TIRTIRO:C1", "TREQTREQ:2" }), (std::vector { shot('C', '1'), reply('2') }));
    EXPECT_EQ(readAll({ "garbage", "" }), std::vector<Message> {});
    EXPECT_EQ(readAll({ "$READY$ TIRO:A1" }), (std::vector { ready(false), shot('A', '1') }));
}

TEST(Protocol, ChatTextRunsToTheEndOfTheRead)
{
    // Tokens inside a chat line are text, and a chat line ends its read.
    EXPECT_EQ(readAll({ "USER_MSG:ol\xE1 TIRO:B3 ok" }), std::vector { chat("olá TIRO:B3 ok") });
    EXPECT_EQ(readAll({ "TIRO:B3USER_MSG:oi" }), (std::vector { shot('B', '3'), chat("oi") }));
    // ... but for the messages glued behind the text.
    EXPECT_EQ(readAll({ "USER_MSG:a$READY$", "$READY$" }),
        (std::vector { chat("a"), ready(false), ready(false) }));
    // The token without its text waits for the text.
    EXPECT_EQ(
        readAll({ "TREQ:*USER_MSG:", "bom dia" }), (std::vector { reply('*'), chat("bom dia") }));
    // A zero byte ends the chat text.
    EXPECT_EQ(readAll({ std::string_view("USER_MSG:ab\0cd", 14) }), std::vector { chat("ab") });
}

// On a slow link the message sent after a chat line reaches the reader in the same read,
// glued behind its text, or cut there with its rest in the next read.
TEST(Protocol, MessagesGluedBehindAChatLineAreReadAsMessages)
{
    const std::pair<std::vector<std::string_view>, std::vector<Message>> cases[] = {
        { { "USER_MSG:ggTIRO:G5" }, { chat("gg"), shot('G', '5') } },
        { { "USER_MSG:ggTREQ:*" }, { chat("gg"), reply('*') } },
        { { "USER_MSG:ggTREQ:4" }, { chat("gg"), reply('4') } },
        { { "USER_MSG:ggTAFQ:3" }, { chat("gg"), sunk('3') } },
        { { "USER_MSG:gg$WINGAME$" }, { chat("gg"), won } },
        { { "USER_MSG:gg$XCHG_MACHINE$" }, { chat("gg"), exchange } },
        { { "USER_MSG:gg$READY$" }, { chat("gg"), ready(false) } },
        { { "USER_MSG:gg$READY$ &RANDOMIZED" }, { chat("gg"), ready(true) } },
        { { "USER_MSG:TREQ:*" }, { reply('*') } },
        { { "USER_MSG:", "TIRO:G5" }, { shot('G', '5') } },
        { { "USER_MSG:a TREQ:2$XCHG_MACHINE$USER_MSG:b TIRO:J0" },
            { chat("a "), reply('2'), exchange, chat("b "), shot('J', '0') } },
        // A message in the text, or one whose arguments no sender forms, is text.
        { { "USER_MSG:TIRO:A1 e TAFQ:2!" }, { chat("TIRO:A1 e TAFQ:2!") } },
        { { "USER_MSG:xTIRO:Z9" }, { chat("xTIRO:Z9") } },
        { { "USER_MSG:xTREQ:!" }, { chat("xTREQ:!") } },
        // Cut by the network: the end of the text waits for the next read.
        { { "USER_MSG:ggTI", "RO:G5" }, { chat("gg"), shot('G', '5') } },
        { { "USER_MSG:ggTIRO:G", "5$READY$" }, { chat("gg"), shot('G', '5'), ready(false) } },
        { { "USER_MSG:gg$", "REA", "DY$" }, { chat("gg"), ready(false) } },
        { { "USER_MSG:gg$READY$ &RAN", "DOMIZED" }, { chat("gg"), ready(true) } },
        { { "USER_MSG:ggTREQ:4T", "IRO:A1" }, { chat("gg"), reply('4'), shot('A', '1') } },
        // ... or it was the text's own end.
        { { "USER_MSG:BOT", "TIRO:A5" }, { chat("BOT"), shot('A', '5') } },
        { { "USER_MSG:a $READY", "$WINGAME$" }, { chat("a $READY"), won } },
        { { "USER_MSG:a TIRO:", "USER_MSG:b" }, { chat("a TIRO:"), chat("b") } },
    };
    for (const auto& [reads, expected] : cases) {
        MessageReader reader;
        std::vector<Message> all;
        for (std::string_view bytes : reads) {
            for (Message& message : reader.feed(bytes))
                all.push_back(std::move(message));
        }
        EXPECT_EQ(all, expected) << reads.front();
        EXPECT_FALSE(reader.holdsChat()) << reads.front();
    }

    // A held line long in waiting is shown as it stands; its end still completes a message.
    MessageReader reader;
    EXPECT_EQ(reader.feed("USER_MSG:vou ao TI"), std::vector<Message> {});
    EXPECT_TRUE(reader.holdsChat());
    EXPECT_EQ(reader.showHeldChat(), chat("vou ao TI"));
    EXPECT_FALSE(reader.holdsChat());
    EXPECT_EQ(reader.showHeldChat(), std::nullopt);
    EXPECT_EQ(reader.feed("RO:C2"), std::vector { shot('C', '2') });
    reader.feed("USER_MSG:$X");
    EXPECT_EQ(reader.showHeldChat(), chat("$X"));
    EXPECT_EQ(reader.feed("ok"), std::vector<Message> {}) << "shown once";
    // A ready whose suffix may follow is a message already: the line before it is not held.
    EXPECT_EQ(reader.feed("USER_MSG:gg$READY$ &RAN"), std::vector { chat("gg") });
    EXPECT_FALSE(reader.holdsChat());
}

// No text a player types makes a chat line that our reader takes for a message, wherever
// the network cuts it and whatever message follows it. The text changes by a space where it
// holds a token.
TEST(Protocol, AChatLineWeSendIsNeverReadAsAMessage)
{
    const std::pair<std::string_view, std::string_view> changed[] = {
        { "TIRO:A5", "TIRO :A5" },
        { "a TREQ:*TAFQ:3 b", "a TREQ :*TAFQ :3 b" },
        { "$READY$ &RANDOMIZED", "$ READY$ &RANDOMIZED" },
        { "$WINGAME$$XCHG_MACHINE$", "$ WINGAME$$ XCHG_MACHINE$" },
        { "ok $READY", "ok $ READY" },
        { "TIRO:TIRO:J9", "TIRO :TIRO :J9" },
        { "TIRO:Z9 $READY! BOT", "TIRO :Z9 $READY! BOT" },
        { "TIRO TREQ $WINGAME", "TIRO TREQ $ WINGAME" },
    };
    for (const auto& [typed, sent] : changed)
        EXPECT_EQ(protocol::formChat(typed), "USER_MSG:" + std::string(sent)) << typed;

    const std::pair<std::string, Message> following[] = {
        { "TIRO:B2", shot('B', '2') },
        { "TREQ:*", reply('*') },
        { "TAFQ:4", sunk('4') },
        { "$WINGAME$", won },
        { "$XCHG_MACHINE$", exchange },
        { "$READY$", ready(false) },
        { "$READY$ &RANDOMIZED", ready(true) },
    };
    for (const auto& [typed, unused] : changed) {
        const std::string line = protocol::formChat(typed);
        for (const auto& [message, expected] : following) {
            const std::string stream = line + message;
            for (std::size_t cut = 0; cut <= stream.size(); ++cut) {
                const std::string_view all(stream);
                // A line cut inside its text arrives as its first part; a ready that ends a
                // read is acted on at once, its suffix or not.
                const std::string shown
                    = line.substr(9, cut > 9 && cut < line.size() ? cut - 9 : std::string::npos);
                const bool plainReady = expected.randomized && cut == line.size() + 7;
                EXPECT_EQ(readAll({ all.substr(0, cut), all.substr(cut) }),
                    (std::vector { chat(shown), plainReady ? ready(false) : expected }))
                    << stream << " cut at " << cut;
            }
        }
    }
    // Two chat lines that share a read are one, as ever: no text is taken for a chat token.
    EXPECT_EQ(readAll({ protocol::formChat("a") + protocol::formChat("b") }),
        std::vector { chat("aUSER_MSG:b") });
}

// A line as long as the chat field takes fits one read, unless the spaces put in its tokens
// make it longer: then it goes as far as a read holds, whole characters, and the rest waits.
TEST(Protocol, AChatLineGoesAsFarAsOneReadHolds)
{
    EXPECT_EQ(protocol::chatThatFits(std::string(1015, 'x')), 1015u);
    std::string accents;
    for (int i = 0; i < 1015; ++i)
        accents += "é"; // two bytes here, one on the wire
    EXPECT_EQ(protocol::chatThatFits(accents), 2030u);
    std::string tokens;
    for (int i = 0; i < 203; ++i)
        tokens += "TIRO:";
    EXPECT_EQ(protocol::chatThatFits(tokens), 169u * 5 + 1); // 169 "TIRO :" and a "T"
    EXPECT_EQ(protocol::formChat(tokens.substr(0, 846)).size(), protocol::ReadSize);
    const std::string mixed = accents.substr(0, 2000) + "TIRO:TIRO:TIRO:";
    EXPECT_EQ(protocol::chatThatFits(mixed), 2013u); // "TIRO :TIRO :TIR"
    std::string euros = "TIRO:TIRO:";
    for (int i = 0; i < 1010; ++i)
        euros += "€"; // three bytes here, one on the wire
    EXPECT_EQ(protocol::chatThatFits(euros), 10u + 3 * 1003);
    EXPECT_EQ(protocol::chatThatFits(""), 0u);
}

TEST(Protocol, ShotArgumentsAreTakenAsTheyCome)
{
    // What the two bytes name is the engine's business; the reader only takes them.
    EXPECT_EQ(readAll({ "TIRO:Z!" }), std::vector { shot('Z', '!') });
    EXPECT_EQ(readAll({ "TIRO:$WINGAME$" }), std::vector { shot('$', 'W') });
    EXPECT_EQ(readAll({ "TIRO:A" }), std::vector<Message> {}) << "waits for its row digit";
}

TEST(Protocol, KeepsOnlyTheUnfinishedTail)
{
    MessageReader reader;
    EXPECT_TRUE(reader.feed("TIRO:B3$XCHG_MACH").size() == 1);
    EXPECT_EQ(reader.pending(), "$XCHG_MACH");
    EXPECT_EQ(reader.feed("INE$"), std::vector { exchange });
    EXPECT_EQ(reader.pending(), "");
    reader.feed("$READY$ &RAND");
    EXPECT_EQ(reader.pending(), "$READY$ &RAND");
    reader.reset();
    EXPECT_EQ(reader.feed("OMIZED"), std::vector<Message> {});
}

TEST(Protocol, AFullReadIsReadWhole)
{
    std::string block;
    while (block.size() + 7 <= protocol::ReadSize)
        block += "TIRO:A1";
    block.resize(protocol::ReadSize, 'x');
    const auto messages = readAll({ block });
    EXPECT_EQ(messages.size(), protocol::ReadSize / 7);
}

TEST(WindowsText, ConvertsAtTheWireBoundary)
{
    EXPECT_EQ(toWindows1252("Olá, Conecção €"), "Ol\xE1, Conec\xE7\xE3o \x80");
    EXPECT_EQ(toWindows1252("日本 ok"), "?? ok") << "characters the code page lacks become ?";
    EXPECT_EQ(toWindows1252("\xC3"), "?") << "a cut UTF-8 sequence";
    EXPECT_EQ(toWindows1252("a\xFF"
                            "b"),
        "a?b")
        << "a byte that is not UTF-8";
    EXPECT_EQ(fromWindows1252("Ol\xE1 \x80"), "Olá €");
    EXPECT_EQ(fromWindows1252("a\x81z"), "a\xEF\xBF\xBDz") << "an undefined byte";
    std::string everyByte;
    for (int byte = 0; byte < 256; ++byte)
        everyByte += static_cast<char>(byte);
    const std::string utf8 = fromWindows1252(everyByte);
    EXPECT_EQ(toWindows1252(utf8).size(), 256u);
}

// Every length of UTF-8 sequence: a character Windows-1252 has becomes its byte, one it
// lacks a single '?', and so does each stray byte and each sequence cut short, without taking
// the characters after it along.
TEST(WindowsText, ConvertsEveryLengthOfUtf8Sequence)
{
    const std::pair<std::string_view, std::string_view> cases[] = {
        { "plain ASCII ~", "plain ASCII ~" },
        { "\xC3\xA9 \xC3\xBF \xC2\xA0", "\xE9 \xFF \xA0" }, // two bytes: é ÿ, no-break space
        { "\xC5\x92\xC6\x92", "\x8C\x83" }, // two bytes, to 0x80..0x9F: Œ ƒ
        { "a\xC5\x91z", "a?z" }, // two bytes it lacks: ő
        { "\xE2\x82\xAC\xE2\x84\xA2", "\x80\x99" }, // three bytes: € ™
        { "a\xE2\x88\x9Ez", "a?z" }, // three bytes it lacks: ∞
        { "a\xF0\x9F\x98\x80z", "a?z" }, // four bytes, none of them in the code page
        { "\xF0\x9F\x98\x80\xF0\x9F\x9A\xA2", "??" },
        { "a\x80z", "a?z" }, // a continuation byte alone
        { "a\xFFz", "a?z" }, { "a\xC3z", "a?z" }, // cut short before the next character
        { "a\xE2\x82z", "a?z" }, { "a\xF0\x9F\x98z", "a?z" },
        { "ab\xF0\x9F\x98", "ab?" }, // cut short by the end of the text
    };
    for (const auto& [utf8, expected] : cases)
        EXPECT_EQ(toWindows1252(utf8), expected) << utf8;
}

// Bytes 0x80 to 0x9F, where Windows-1252 differs from Latin-1, both ways; the five bytes it
// leaves undefined read as U+FFFD, which has no byte of its own.
TEST(WindowsText, ReadsAndWritesTheRangeFrom0x80To0x9F)
{
    const std::string_view utf8[32] = { "\u20AC", "", "\u201A", "\u0192", "\u201E", "\u2026",
        "\u2020", "\u2021", "\u02C6", "\u2030", "\u0160", "\u2039", "\u0152", "", "\u017D", "", "",
        "\u2018", "\u2019", "\u201C", "\u201D", "\u2022", "\u2013", "\u2014", "\u02DC", "\u2122",
        "\u0161", "\u203A", "\u0153", "", "\u017E", "\u0178" };
    for (int byte = 0x80; byte <= 0x9F; ++byte) {
        const std::string single(1, static_cast<char>(byte));
        const std::string_view character = utf8[byte - 0x80];
        if (character.empty()) {
            EXPECT_EQ(fromWindows1252(single), "\xEF\xBF\xBD") << byte;
        } else {
            EXPECT_EQ(fromWindows1252(single), character) << byte;
            EXPECT_EQ(toWindows1252(character), single) << byte;
        }
    }
    EXPECT_EQ(toWindows1252("\xEF\xBF\xBD"), "?");
}

} // namespace
