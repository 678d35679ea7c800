#pragma once

#include "gamesession.h"

#include "ai/shotplanner.h"
#include "core/board.h"
#include "match/autoplayer.h"
#include "match/gameevents.h"

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// A computer opponent over TCP: a game session like the window's, played by an AutoPlayer,
// that listens to the same game events as the window and prints one line of text for each
// instead of drawing. The result of a match is taken in at once, and the next one starts as
// in the game. Its moves are paced by a timer, so a person can follow: the delay passes
// before it declares its fleet and before each shot.
//
// What it prints is a terminal's or a log file's: every event one line, the controls of the
// text (a peer's bytes may be in it) escaped, and the lines the opponent may cause at will,
// its chat and its readies, at most OpponentLinesPerSecond a second, so that a flood of them
// cannot fill a disk.
//
// The game window runs one in-process for "Jogar contra o computador", listening on a free
// port that the window then connects to; quorvel-bot runs one on its own.
class ComputerOpponent : public QObject, private GameEvents {
    Q_OBJECT

public:
    struct Settings {
        PlannerLevel level = PlannerLevel::Hard;
        int delayMs = 400; // before declaring the fleet and before each shot
        int matches = 0; // finished matches after which it closes the connection; 0: never
        std::optional<std::uint32_t> seed; // of the fleets and the shots; none: from the system
        // From the second match on, how long it waits for the opponent to declare first
        // before it declares anyway. The opponent's end-of-match box may still be open, and
        // a ready that comes then is not kept by every copy of the game.
        int readyWaitMs = 20000;
    };

    // The opponent's chat lines and readies printed in any second, counted from the first of
    // them; the ones left out are counted in a line of their own, printed before the next
    // line.
    static constexpr int OpponentLinesPerSecond = 5;

    // How it ended.
    enum class Outcome {
        MatchesPlayed, // the number of matches asked for was reached; it closed the connection
        ConnectionEnded, // the opponent closed the connection
        ConnectionFailed, // it could not listen or connect: see failureText()
        RulesBroken, // the opponent's replies left no cell to fire at; it closed the connection
    };
    Q_ENUM(Outcome)

    explicit ComputerOpponent(const Settings& settings, QObject* parent = nullptr);
    ~ComputerOpponent() override;

    // Listens for one opponent, on every interface or on the loopback only; port 0 takes a
    // free port (listeningPort()).
    // False when the port cannot be used: failureText() then holds the game's own message,
    // with where and why under it, and finished(ConnectionFailed) follows.
    bool listen(std::uint16_t port, bool loopbackOnly = false);
    // Connects to a game that listens; finished(ConnectionFailed) follows if that fails.
    void connectTo(const QString& host, std::uint16_t port);
    // Closes the connection, as "Fechar COM" does; finished() follows.
    void close();

    std::uint16_t listeningPort() const { return session.listeningPort(); }
    bool connected() const { return isConnected; }

    int matchesPlayed() const { return static_cast<int>(wonShots.size()) + lostMatches; }
    int myWins() const { return session.engine().myWins(); }
    int peerWins() const { return session.engine().peerWins(); }
    // The answered shots it needed in each match it won, in order.
    const std::vector<int>& shotsOfWonMatches() const { return wonShots; }
    double meanShotsPerWonMatch() const;
    QString failureText() const { return failure; }
    // The fleet it declared for the current match (empty before it has declared), with no
    // hits marked: what a window in the same process may show once the match is over.
    const Board& declaredFleet() const { return fleet; }

    GameSession& gameSession() { return session; }

Q_SIGNALS:
    // One event as the window would show it: a status text, a log entry, the title, a box.
    // It is one line, its control characters escaped (see ControlMarks::Escapes).
    void eventLine(const QString& line);
    // A match ended; shots: the answered shots this side fired in it.
    void matchFinished(bool won, int shots);
    // Emitted once, from the event loop, when it has stopped playing.
    void finished(ComputerOpponent::Outcome outcome);

private:
    // Game events.
    void phaseChanged(GamePhase phase) override;
    void fleetChanged(const FleetChange& change) override;
    void readyDeclared(Side side, bool randomized) override;
    void shotFired(GridCell cell) override;
    void shotRefused(GridCell cell) override;
    void shotAnswered(const Shot& shot) override;
    void matchDecided(bool won, int match) override;
    void scoreChanged(const Score& score) override;
    void fleetShown(bool shown) override;
    void chatLine(Side side, const std::string& text) override;
    void sendFailed(bool chat) override;
    void sendResumed() override;
    void statusChanged(const Text& status) override;
    void logLine(const Text& line) override;
    void connectionChanged(const ConnectionChange& change) override;

    void printTitle(TextId base);
    void printLogLine(const Text& line);
    void print(const QString& line);
    bool admitOpponentsLine();
    void printOmittedLines();
    void reconsiderLater();
    void reconsider();
    void move();
    void finish(Outcome outcome, bool closeConnection = false);

    Settings settings;
    GameSession session { *this };
    AutoPlayer player;
    QTimer pace;
    QTimer readyWait;
    bool readyWaitOver = false; // the wait for the opponent's ready in this match has passed
    bool reconsidering = false;
    bool isConnected = false;
    bool stopping = false; // no more moves: finished, or about to be
    QString lastStatus;
    QElapsedTimer opponentClock;
    qint64 opponentSecondStart = -1000; // ms on opponentClock; the first line starts a second
    int opponentLinesThisSecond = 0;
    qint64 omittedLines = 0; // not printed yet
    QString failure;
    std::vector<int> wonShots;
    int lostMatches = 0;
    Board fleet;
};
