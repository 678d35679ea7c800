#pragma once

// The wire protocol between two copies of the game, over one TCP connection.
//
// Every message is a run of Windows-1252 bytes; nothing goes before or after it: no length,
// no terminator, no line end. The shooter is the side whose turn it is to fire.
//
//   message                  bytes  sender   meaning
//   "TIRO:" L D                  7  shooter  a shot; L = 'A' + column, D = '0' + row
//   "TREQ:*"                     6  target   the last shot found open sea
//   "TREQ:" N                    6  target   it hit a ship that still has unhit cells;
//                                            N = '0' + the ship's whole length
//   "TAFQ:" N                    6  target   it hit the last unhit cell of a ship of length N
//   "$WINGAME$"                  9  target   sent after the reply that left it no ship cell
//   "$XCHG_MACHINE$"            14  shooter  sent after the reply to its third shot of a turn
//   "$READY$"                    7  either   its fleet, placed by hand, is complete and valid
//   "$READY$ &RANDOMIZED"       19  either   its generated fleet was accepted
//   "USER_MSG:" text        9 + n   either   a chat line; chat has no end marker, so the text
//                                            runs to the end of the read that carries it
//
// Each message goes out in one send call. A reader may get several messages in one read, or
// a message cut across two reads: MessageReader separates them, completes a cut message
// with the next read, and skips bytes that start no message. A cut message is completed
// only by bytes that can finish it: the rest of its token, or what its arguments can be (a
// column letter A-J and a row digit; "*" or a digit; for chat, any text but another chat
// line). Otherwise it counts as cut short (a shot naming no cell, a reply without its
// length, an empty chat line) and the new read is taken from its first byte. Two cuts
// cannot be mended, since nothing marks where the message ends: a chat line cut inside its
// text arrives as its first part, and "$READY$" at the very end of a read is a plain ready,
// acted on at once (its sender may be waiting for the answer), even if " &RANDOMIZED"
// follows in the next.
//
// A chat line has no end marker, so on a slow link the next message may reach the reader in
// the same read, glued behind the text. When a chat text ends in one or more whole messages
// (shot, reply, sunk, hand-over, ready, win; arguments as a sender forms them), possibly
// followed by the beginning of one more or by another chat line, those are read as messages
// after the text. When it ends in the beginning of a message, that end is held until the
// next read shows whether it was cut. A chat line we send never contains a token, nor ends
// in a name whose closing "$" the next message would give (formChat changes such text), so
// our own chat is never misread, however it is cut; a copy of the game that takes
// everything after "USER_MSG:" as chat text reads it as ever.

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace protocol {

inline constexpr std::string_view ShotToken = "TIRO:";
inline constexpr std::string_view ReplyToken = "TREQ:";
inline constexpr std::string_view SunkToken = "TAFQ:";
inline constexpr std::string_view WinGameMessage = "$WINGAME$";
inline constexpr std::string_view ExchangeMachineMessage = "$XCHG_MACHINE$";
inline constexpr std::string_view ReadyMessage = "$READY$";
inline constexpr std::string_view ReadyRandomizedMessage = "$READY$ &RANDOMIZED";
inline constexpr std::string_view ChatToken = "USER_MSG:";
inline constexpr char MissArgument = '*';

// Reads hold at most this many bytes; a chat line must fit one read with its token.
inline constexpr std::size_t ReadSize = 1024;
inline constexpr std::size_t MaxChatBytes = ReadSize - ChatToken.size();

std::string formShot(int column, int row);
std::string formMiss();
std::string formHit(int length);
std::string formSunk(int length);
// The chat text is UTF-8; it travels as Windows-1252. A token in it could be read as a
// message, should the network cut the line right before it, so a space goes before the ':'
// of "TIRO:", "TREQ:" and "TAFQ:" ("TIRO :A5") and after the first '$' of "$READY$",
// "$WINGAME$" and "$XCHG_MACHINE$" ("$ READY$"), and of those three names at the end of the
// text without their closing '$', which the next message's first '$' would close.
std::string formChat(std::string_view utf8Text);
// How much of the UTF-8 chat text goes in one read: the bytes of its longest beginning, whole
// characters, whose formChat message is at most ReadSize bytes. The spaces formChat puts in
// can make a line that fills the chat field longer than a read, and the reader would lose
// its end.
std::size_t chatThatFits(std::string_view utf8Text);

enum class MessageKind {
    Chat, // text
    Shot, // first, second: the column letter and the row digit as received
    Reply, // first: '*' for a miss, else the length digit as received
    Sunk, // first: the length digit as received
    WinGame,
    ExchangeMachine,
    Ready, // randomized
};

struct Message {
    MessageKind kind;
    char first = 0;
    char second = 0;
    bool randomized = false;
    std::string text; // UTF-8

    bool operator==(const Message&) const = default;
};

// Turns the bytes of successive reads into messages, in the order they were sent. Bytes
// that start no message are skipped. A message cut at the end of a read is kept and
// completed by the next read if that read can finish it (see above); only that unfinished
// tail is kept. Everything after "USER_MSG:" to the end of the read is chat text, but for
// the messages glued behind it. An argument missing from a message cut short is '\0'.
class MessageReader {
public:
    std::vector<Message> feed(std::string_view bytes);
    void reset()
    {
        tailLength = 0;
        heldChat.reset();
    }
    std::string_view pending() const { return { tail.data(), tailLength }; }

    // A chat line whose end may be a message cut by the network waits for the next read. If
    // that read is long in coming, the line can be shown as it stands: its end still
    // becomes a message if the next read completes it.
    bool holdsChat() const { return heldChat && !heldChat->shown; }
    std::optional<Message> showHeldChat();

private:
    // The longest unfinished message is "$READY$ &RANDOMIZE".
    std::array<char, 20> tail {};
    std::size_t tailLength = 0;

    struct HeldChat {
        std::string text; // Windows-1252, before the end that may be a message
        std::string unfinished;
        bool shown = false;
    };
    std::optional<HeldChat> heldChat;
};

} // namespace protocol
