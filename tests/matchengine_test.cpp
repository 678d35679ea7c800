#include "enginepair.h"

#include "net/gametexts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>
#include <fstream>
#include <functional>
#include <sstream>
#include <utility>

namespace {

// A text as the window shows it in Portuguese.
std::string said(const Text& text) { return gameText(text).toStdString(); }

// Both sides connected and playing: the server declared first, so it fires first.
class Match : public testing::Test {
protected:
    void SetUp() override
    {
        pair.connect();
        placeFleetByHand(server, handFleet);
        pair.pump();
        placeFleetByHand(client, handFleet);
        pair.pump();
        ASSERT_EQ(client.matchState().phase, GamePhase::Playing);
    }

    // The server fires at a cell of the client's fleet and the reply comes back.
    void serverFires(int column, int row)
    {
        ASSERT_TRUE(pair.fireAt(pair.server, column, row));
        pair.pump();
    }

    EnginePair pair;
    MatchEngine& server = pair.server.engine;
    MatchEngine& client = pair.client.engine;
    RecordingEvents& serverEvents = pair.server.events;
    RecordingEvents& clientEvents = pair.client.events;
};

TEST(MatchEngineStart, ANewMatchResetsTheSide)
{
    EngineSide side;
    side.engine.connectionOpened(false);
    const MatchState state = side.engine.matchState();
    EXPECT_EQ(state.phase, GamePhase::Placing);
    EXPECT_TRUE(state.isShooter);
    EXPECT_EQ(said(side.events.status), "Criar tabuleiro.");
    // The fleet shown (so "Ocultar"), the generator ready to place one, none to accept, and no
    // fleet declared that could be hidden.
    EXPECT_TRUE(state.showOwnFleet);
    EXPECT_EQ(side.events.phases, std::vector { GamePhase::Placing });
    EXPECT_FALSE(side.engine.wholeFleetReady());
    EXPECT_EQ(state.cellsPlaced, 0);
    const auto& cover = side.engine.coverBoard().cells;
    EXPECT_EQ(std::count(cover.begin(), cover.end(), CellCover), 100);
    side.events.transcript.clear();
    side.engine.startNewMatch();
    EXPECT_TRUE(side.events.transcript.empty()) << "a match under way is not reset";
}

TEST(MatchEngineStart, TheFirstToDeclareFiresFirst)
{
    EnginePair pair;
    pair.connect();
    pair.randomizeAndAccept(pair.client);
    EXPECT_EQ(said(pair.client.events.status), "Jogo preenchido.A aguardar pelo outro jogador");
    EXPECT_EQ(pair.client.link.sent.back(), "$READY$ &RANDOMIZED");
    // Declared: the fleet may be hidden now, and the generator is done with.
    EXPECT_EQ(pair.client.events.phases.back(), GamePhase::Ready);
    EXPECT_EQ(pair.client.events.readies, (std::vector { std::pair { Side::Mine, true } }));
    pair.pump();
    EXPECT_EQ(said(pair.server.events.status), "O outro jogador randomizou o jogo e está pronto.");
    EXPECT_TRUE(pair.server.engine.peerFleetRandomized());
    EXPECT_EQ(pair.server.events.readies.back(), std::pair(Side::Opponents, true));
    placeFleetByHand(pair.server.engine, handFleet);
    EXPECT_EQ(said(pair.server.events.status), "Let the game BEGIN!\nA receber tiros.");
    EXPECT_EQ(pair.server.engine.matchState().phase, GamePhase::Playing);
    EXPECT_FALSE(pair.server.engine.matchState().isShooter);
    pair.pump();
    EXPECT_EQ(said(pair.client.events.status), "Let the game begin!\nPode atirar.");
    EXPECT_TRUE(pair.client.engine.matchState().isShooter);
}

TEST_F(Match, RepliesNameTheShipAndTheTurnPassesAfterThree)
{
    serverFires(0, 6); // the client's three at column 0, rows 5 to 7
    EXPECT_EQ(pair.client.link.sent.back(), "TREQ:3");
    EXPECT_EQ(client.ownBoard().getCell(0, 6), CellHit);
    EXPECT_EQ(client.coverBoard().getCell(0, 6), CellHit);
    EXPECT_EQ(clientEvents.hitsTaken(), 1);
    EXPECT_EQ(server.enemyBoard().getCell(0, 6), CellShip);
    EXPECT_EQ(said(serverEvents.log.back()), "<CPU> Acertou num barco de 3 canos.");
    EXPECT_EQ(said(serverEvents.status), "A enviar tiro 2 .");
    serverFires(0, 5);
    EXPECT_EQ(said(serverEvents.status), "A enviar tiro 3 .");
    serverFires(0, 7);
    EXPECT_EQ(pair.client.link.sent.back(), "TAFQ:3");
    EXPECT_EQ(said(serverEvents.log.back()), "<CPU> Afundou um barco de 3 canos.");
    EXPECT_EQ(pair.server.link.sent.back(), "$XCHG_MACHINE$");
    EXPECT_EQ(said(serverEvents.status), "A receber tiros do adversario.");
    EXPECT_EQ(said(clientEvents.status), "A enviar tiro 1...");
    EXPECT_TRUE(client.matchState().isShooter);
    // Water all round the sunk three; the hits stay.
    for (int column = 0; column <= 1; ++column) {
        for (int row = 4; row <= 8; ++row) {
            const bool hit = column == 0 && row >= 5 && row <= 7;
            EXPECT_EQ(server.enemyBoard().getCell(column, row), hit ? CellShip : CellWater);
        }
    }
    ASSERT_EQ(server.shotResults().size(), 3u);
    EXPECT_EQ(server.shotResults()[2].outcome, Shot::Sunk);
    EXPECT_EQ(server.shotResults()[2].length, '3');
}

TEST_F(Match, SinglesSinkAtOnceAndMissesAreWater)
{
    serverFires(9, 9);
    EXPECT_EQ(pair.client.link.sent.back(), "TAFQ:1");
    EXPECT_EQ(said(serverEvents.log.back()), "<CPU> Afundou um barco de 1 cano.");
    serverFires(5, 5);
    EXPECT_EQ(pair.client.link.sent.back(), "TREQ:*");
    EXPECT_EQ(server.enemyBoard().getCell(5, 5), CellWater);
    EXPECT_EQ(client.coverBoard().getCell(5, 5), CellWater);
    // A reply's length is logged as it came, whatever it holds.
    ASSERT_TRUE(pair.fireAt(pair.server, 6, 6));
    server.onPeerData("TREQ:\xE9");
    EXPECT_EQ(said(serverEvents.log.back()), "<CPU> Acertou num barco de é canos.");
}

TEST_F(Match, WhatCannotBeDoneIsRefusedOrIgnored)
{
    serverFires(5, 5);
    EXPECT_EQ(server.fireAt({ 5, 5 }), FireResult::AlreadyShot);
    EXPECT_EQ(serverEvents.refused, (std::vector { GridCell { 5, 5 } }));
    EXPECT_EQ(said(serverEvents.status), "Aponte num local vazio...para não repetir tiros!");
    const auto sent = pair.server.link.sent.size();
    EXPECT_EQ(server.fireAt({ 3, 3 }), FireResult::Fired);
    EXPECT_EQ(server.fireAt({ 3, 3 }), FireResult::NotNow)
        << "a second shot while the first is unanswered";
    EXPECT_EQ(server.fireAt({ 3, 10 }), FireResult::OffTheGrid);
    EXPECT_EQ(pair.server.link.sent.size(), sent + 1);
    EXPECT_EQ(client.fireAt({ 3, 3 }), FireResult::NotNow);
    EXPECT_EQ(pair.client.link.queued.size(), 0u) << "the target cannot fire";

    // Messages that do not apply now are ignored; a ready only changes the status.
    const Board enemy = client.enemyBoard();
    client.onPeerData("TREQ:*TAFQ:3");
    server.onPeerData("TIRO:A0");
    EXPECT_EQ(client.enemyBoard().cells, enemy.cells);
    EXPECT_EQ(pair.server.link.sent.size(), sent + 1) << "a shooter does not answer shots";
    server.onPeerData("$READY$");
    EXPECT_EQ(said(serverEvents.status), "O outro jogador está pronto.");
    EXPECT_EQ(server.matchState().phase, GamePhase::Playing);
    EXPECT_TRUE(server.matchState().isShooter);
}

// A shot at a cell already hit is a hit again, answered with the whole ship's length, and
// as a sinking once the ship is sunk; the cell stays hit on the own grid and on the cover. A
// shot into water already found is a miss again.
TEST_F(Match, ShotsAtCellsAlreadyShotAreAnsweredAsBefore)
{
    const auto answer = [this](std::string_view shot) {
        pair.client.link.queued.clear();
        client.onPeerData(shot);
        return pair.client.link.queued.empty() ? std::string() : pair.client.link.queued.front();
    };
    // The client's turn, fired along a row into open sea, so that it answers three more shots.
    const auto nextTurn = [this](int row) {
        client.onPeerData("$XCHG_MACHINE$");
        for (int column = 0; column < 3; ++column) {
            ASSERT_TRUE(pair.fireAt(pair.client, column, row));
            client.onPeerData("TREQ:*");
        }
        ASSERT_FALSE(client.matchState().isShooter);
    };
    // The three at column 0, rows 5 to 7; the single at (9, 9); open sea at (5, 5).
    EXPECT_EQ(answer("TIRO:A6"), "TREQ:3");
    EXPECT_EQ(answer("TIRO:A6"), "TREQ:3");
    EXPECT_EQ(answer("TIRO:J9"), "TAFQ:1");
    ASSERT_NO_FATAL_FAILURE(nextTurn(9));
    EXPECT_EQ(answer("TIRO:J9"), "TAFQ:1");
    EXPECT_EQ(answer("TIRO:A5"), "TREQ:3");
    EXPECT_EQ(answer("TIRO:A7"), "TAFQ:3");
    ASSERT_NO_FATAL_FAILURE(nextTurn(8));
    EXPECT_EQ(answer("TIRO:A6"), "TAFQ:3");
    EXPECT_EQ(answer("TIRO:F5"), "TREQ:*");
    EXPECT_EQ(answer("TIRO:F5"), "TREQ:*");
    for (const Board* board : { &std::as_const(client).ownBoard(), &client.coverBoard() }) {
        EXPECT_EQ(board->getCell(0, 6), CellHit);
        EXPECT_EQ(board->getCell(9, 9), CellHit);
        EXPECT_EQ(board->getCell(5, 5), CellWater);
    }
    EXPECT_EQ(clientEvents.hitsTaken(), 7);
}

// Off the grid a shot names no cell and is answered as a miss. A target answers three shots a
// turn: a fourth before the hand-over is not answered, and changes nothing.
TEST_F(Match, ShotsOffTheGridAreAnsweredAsMissesThreeATurn)
{
    const auto answers = [this](std::string_view bytes) {
        const Board before = client.ownBoard();
        pair.client.link.queued.clear();
        client.onPeerData(bytes);
        EXPECT_EQ(client.ownBoard().cells, before.cells) << bytes;
        return std::vector<std::string>(
            pair.client.link.queued.begin(), pair.client.link.queued.end());
    };
    const std::vector<std::string> miss { "TREQ:*" };
    for (std::string_view bytes : { "TIRO:K0", "TIRO:A:", "TIRO:a1" })
        EXPECT_EQ(answers(bytes), miss) << bytes;
    EXPECT_EQ(answers("TIRO:A0"), std::vector<std::string> {}) << "a fourth shot";

    client.onPeerData("$XCHG_MACHINE$");
    for (int column = 0; column < 3; ++column) {
        ASSERT_TRUE(pair.fireAt(pair.client, column, 9));
        client.onPeerData("TREQ:*");
    }
    ASSERT_FALSE(client.matchState().isShooter);
    for (std::string_view bytes : { "TIRO:\xC1\x31", "TIRO:@9" })
        EXPECT_EQ(answers(bytes), miss) << bytes;
}

TEST_F(Match, ChatAndFailedSends)
{
    EXPECT_TRUE(server.sendChatLine("olá, tudo bem?"));
    EXPECT_EQ(pair.server.link.sent.back(), "USER_MSG:ol\xE1, tudo bem?");
    EXPECT_EQ(said(serverEvents.log.back()), "<EU> olá, tudo bem?");
    pair.pump();
    EXPECT_EQ(said(clientEvents.log.back()), "<ADV> olá, tudo bem?");
    // Both logs show what went over the wire: what Windows-1252 lacks is '?' on both sides.
    server.sendChatLine("€ 3 → 4 ✓");
    EXPECT_EQ(pair.server.link.sent.back(), "USER_MSG:\x80 3 ? 4 ?");
    EXPECT_EQ(said(serverEvents.log.back()), "<EU> € 3 ? 4 ?");
    pair.pump();
    EXPECT_EQ(said(clientEvents.log.back()), "<ADV> € 3 ? 4 ?");
    // ... and a space where the text would hold a message: the line is never read as one.
    server.sendChatLine("TIRO:A5 $READY$ ok");
    EXPECT_EQ(pair.server.link.sent.back(), "USER_MSG:TIRO :A5 $ READY$ ok");
    EXPECT_EQ(said(serverEvents.log.back()), "<EU> TIRO :A5 $ READY$ ok");
    pair.pump(Delivery::Coalesced);
    EXPECT_EQ(said(clientEvents.log.back()), "<ADV> TIRO :A5 $ READY$ ok");
    EXPECT_TRUE(pair.client.link.queued.empty()) << "no shot answered";
    const auto sent = pair.server.link.sent.size();
    server.sendChatLine("");
    EXPECT_EQ(pair.server.link.sent.size(), sent);
    // A line whose spaces would take it past one read goes as far as one holds, logged so.
    std::string tokens;
    for (int i = 0; i < 203; ++i)
        tokens += "TIRO:";
    EXPECT_EQ(server.sendChatLine(tokens), 846u);
    EXPECT_EQ(pair.server.link.sent.back().size(), protocol::ReadSize);
    std::string line = "<EU> ";
    for (int i = 0; i < 169; ++i)
        line += "TIRO :";
    EXPECT_EQ(said(serverEvents.log.back()), line + "T");

    // A failed chat disables "Enviar" and is not logged as said; a failed reply warns once and
    // the match goes on.
    pair.server.link.open = false;
    const auto logged = serverEvents.log.size();
    EXPECT_FALSE(server.sendChatLine("   "));
    EXPECT_EQ(serverEvents.chatSendFailures, 1) << "\"Enviar\" waits for the connection";
    EXPECT_EQ(serverEvents.log.size(), logged);
    pair.server.link.open = true;
    pair.client.link.open = false;
    ASSERT_TRUE(pair.fireAt(pair.server, 9, 9));
    client.onPeerData(pair.server.link.sent.back());
    EXPECT_EQ(clientEvents.sendFailures, 1);
    EXPECT_EQ(clientEvents.chatSendFailures, 0);
    EXPECT_EQ(client.matchState().phase, GamePhase::Playing) << "the match goes on";
}

TEST_F(Match, AHiddenFleetShowsHitsAndReturnsAfterALoss)
{
    client.toggleFleetShown();
    EXPECT_EQ(clientEvents.fleetShownChanges, std::vector { false }); // "Mostrar"
    EXPECT_EQ(&client.displayedBoard(), &client.coverBoard());
    // The server sinks the client's fleet; in its turns the client fires at open sea.
    std::vector<std::pair<int, int>> sea;
    for (int index = 0; index < 100; ++index) {
        if (server.ownBoard().getCell(index / 10, index % 10) == CellEmpty)
            sea.emplace_back(index / 10, index % 10);
    }
    auto nextSea = sea.begin();
    for (auto [column, row] : handFleet) {
        while (!server.matchState().isShooter) {
            ASSERT_NE(nextSea, sea.end()) << "the server never has the turn back";
            ASSERT_TRUE(pair.fireAt(pair.client, nextSea->first, nextSea->second));
            ++nextSea;
            pair.pump();
        }
        if (column == 9 && row == 9) {
            EXPECT_EQ(client.coverBoard().getCell(0, 5), CellHit) << "hits show on the cover";
        }
        serverFires(column, row);
    }
    EXPECT_EQ(pair.client.link.sent.back(), "$WINGAME$");
    EXPECT_EQ(clientEvents.results, std::vector { false });
    EXPECT_EQ(serverEvents.results, std::vector { true });
    EXPECT_EQ(clientEvents.scores, (std::vector { Score { 0, 1 } }));
    EXPECT_EQ(serverEvents.scores, (std::vector { Score { 1, 0 } }));
    EXPECT_EQ(clientEvents.fleetShownChanges, (std::vector { false, true })); // "Ocultar"
    EXPECT_EQ(&client.displayedBoard(), &client.ownBoard());
    for (MatchEngine* engine : { &server, &client }) {
        EXPECT_EQ(engine->matchState().phase, GamePhase::Placing);
        EXPECT_TRUE(engine->matchState().isShooter);
    }
}

// Whole matches, with the messages delivered one per read, all in one read, or byte by byte:
// every match ends, the scores agree, and a hand-over always follows three shots.
TEST(MatchEngineWhole, MatchesPlayToTheEndHoweverTheBytesArrive)
{
    for (Delivery delivery : { Delivery::PerSend, Delivery::Coalesced, Delivery::ByteByByte }) {
        EnginePair pair(7);
        pair.connect();
        for (int match = 0; match < 3; ++match) {
            pair.randomizeAndAccept(match % 2 == 0 ? pair.server : pair.client);
            pair.pump(delivery);
            pair.randomizeAndAccept(match % 2 == 0 ? pair.client : pair.server);
            pair.pump(delivery);
            pair.playToEnd(delivery);
        }
        EXPECT_EQ(pair.server.engine.myWins() + pair.client.engine.myWins(), 3);
        EXPECT_EQ(pair.server.engine.peerWins(), pair.client.engine.myWins());
        EXPECT_EQ(pair.client.engine.peerWins(), pair.server.engine.myWins());
        for (EngineSide* side : { &pair.server, &pair.client }) {
            int shots = 0;
            for (const std::string& message : side->link.sent) {
                shots += message.starts_with("TIRO:");
                if (message == "$XCHG_MACHINE$") {
                    EXPECT_EQ(shots, 3);
                    shots = 0;
                }
                if (message.starts_with("$READY$"))
                    shots = 0; // a new match: the winner's last turn was cut short
            }
        }
    }
}

TEST(MatchEngineConflict, SimultaneousReadyLetsTheListenerFireFirst)
{
    EnginePair pair;
    pair.connect();
    pair.randomizeAndAccept(pair.server);
    pair.randomizeAndAccept(pair.client);
    pair.pump(); // each ready reaches a side that is ready already: both think they fire
    ASSERT_TRUE(pair.fireAt(pair.client, 4, 4));
    ASSERT_TRUE(pair.fireAt(pair.server, 5, 5));
    pair.pump();
    EXPECT_TRUE(pair.server.engine.matchState().isShooter);
    EXPECT_FALSE(pair.client.engine.matchState().isShooter);
    EXPECT_EQ(said(pair.client.events.status), "Let the game begin!\nA receber os tiros...");
    EXPECT_EQ(said(pair.server.events.status), "A enviar tiro 2 .");
    // The server answered the client's shot on its fleet, so the client marks it, though it
    // is no shot of a turn; its grid says what the server's fleet took, to the match's end.
    const auto gridAgrees = [&pair] {
        for (int column = 0; column < 10; ++column)
            for (int row = 0; row < 10; ++row) {
                const std::uint8_t own = pair.server.engine.ownBoard().getCell(column, row);
                const std::uint8_t seen = pair.client.engine.enemyBoard().getCell(column, row);
                if ((own == CellHit) != (seen == CellShip)
                    || (own == CellShip && seen == CellWater))
                    return testing::AssertionFailure() << column << "," << row;
            }
        return testing::AssertionSuccess();
    };
    EXPECT_NE(pair.client.engine.enemyBoard().getCell(4, 4), CellEmpty) << "its shot answered";
    EXPECT_TRUE(gridAgrees());
    EXPECT_EQ(pair.client.engine.fireAt({ 4, 4 }), FireResult::NotNow);
    pair.playToEnd();
    EXPECT_EQ(pair.server.engine.myWins() + pair.client.engine.myWins(), 1);
    EXPECT_TRUE(gridAgrees());
}

// A shooter whose third shot won still sends its hand-over; it reaches the loser in the next
// match, where it must change nothing, or both sides could end up firing first for good.
TEST(MatchEngineConflict, AHandOverFromTheLastMatchIsIgnored)
{
    EngineSide side;
    side.engine.connectionOpened(false);
    side.engine.onPeerData("$XCHG_MACHINE$");
    EXPECT_EQ(said(side.events.status), "Criar tabuleiro.");
    side.engine.randomizeFleet();
    side.engine.acceptFleet();
    side.engine.onPeerData("$READY$"); // the two ready declarations crossed
    side.engine.fireAt({ 0, 0 });
    side.engine.onPeerData("TIRO:J9"); // the listening side keeps the first turn
    EXPECT_FALSE(side.engine.matchState().isShooter);
    EXPECT_FALSE(side.link.sent.back().starts_with("TIRO:")) << "the shot is answered";
}

// A hand-over counts only for a target in play. Anywhere else it changes nothing: a side
// placing after the opponent declared stays the one that waits, a side waiting for the
// opponent's fleet and a side firing keep their turn as it stands, and with no connection
// nothing happens at all.
TEST(MatchEngineConflict, AHandOverOutsideTheOpponentsTurnChangesNothing)
{
    const struct {
        const char* name;
        std::function<void(MatchEngine&)> reach;
        GamePhase phase;
        bool isShooter, shotPending;
        int shotsThisTurn;
        const char* status;
    } cases[] = {
        { "placing, the opponent ready", [](MatchEngine& engine) { engine.onPeerData("$READY$"); },
            GamePhase::Placing, false, false, 0, "O outro jogador está pronto." },
        { "ready, waiting for the opponent",
            [](MatchEngine& engine) {
                engine.randomizeFleet();
                engine.acceptFleet();
            },
            GamePhase::Ready, true, false, 0, "Jogo preenchido.A aguardar pelo outro jogador" },
        { "firing its second shot",
            [](MatchEngine& engine) {
                engine.randomizeFleet();
                engine.acceptFleet();
                engine.onPeerData("$READY$");
                for (int column = 0; column < 2; ++column) {
                    engine.fireAt({ column, 0 });
                    if (column == 0)
                        engine.onPeerData("TREQ:*");
                }
            },
            GamePhase::Playing, true, true, 1, "A enviar tiro 2 ." },
        { "disconnected", [](MatchEngine& engine) { engine.connectionClosed(); }, GamePhase::Idle,
            true, false, 0, "Criar tabuleiro." },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EngineSide side;
        side.engine.connectionOpened(true);
        c.reach(side.engine);
        side.events.transcript.clear();
        side.engine.onPeerData("$XCHG_MACHINE$");
        EXPECT_EQ(side.events.transcript, std::vector<std::string> {});
        const MatchState& state = side.engine.matchState();
        EXPECT_EQ(state.phase, c.phase);
        EXPECT_EQ(state.isShooter, c.isShooter);
        EXPECT_EQ(state.shotPending, c.shotPending);
        EXPECT_EQ(state.shotsThisTurn, c.shotsThisTurn);
        EXPECT_EQ(said(side.events.status), c.status);
    }
}

TEST(MatchEngineConflict, AnEarlyReadyIsKeptForTheNextMatch)
{
    EnginePair pair;
    pair.connect();
    pair.randomizeAndAccept(pair.server);
    pair.pump();
    pair.randomizeAndAccept(pair.client);
    pair.pump();
    // While the loser's box is open, the winner starts the next match and declares.
    EngineSide* loser = nullptr;
    EngineSide* winner = nullptr;
    for (EngineSide* side : { &pair.server, &pair.client }) {
        EngineSide* other = side == &pair.server ? &pair.client : &pair.server;
        side->events.duringResult = [&pair, &loser, &winner, side, other] {
            if (loser || side->events.results.back())
                return;
            loser = side;
            winner = other;
            pair.pump();
            pair.randomizeAndAccept(*winner);
            pair.pump();
            EXPECT_EQ(loser->engine.matchState().phase, GamePhase::Playing);
        };
    }
    pair.playToEnd();
    ASSERT_NE(loser, nullptr);
    EXPECT_EQ(loser->engine.matchState().phase, GamePhase::Placing);
    EXPECT_FALSE(loser->engine.matchState().isShooter);
    EXPECT_EQ(said(loser->events.status), "O outro jogador randomizou o jogo e está pronto.");
    pair.randomizeAndAccept(*loser);
    pair.pump();
    EXPECT_EQ(loser->engine.matchState().phase, GamePhase::Playing);
    EXPECT_TRUE(winner->engine.matchState().isShooter);
    pair.playToEnd();
    EXPECT_EQ(pair.server.engine.myWins() + pair.client.engine.myWins(), 2);
}

TEST(MatchEngineConnection, TheEndOfAConnectionForgetsTheMatch)
{
    EngineSide side;
    side.engine.connectionOpened(true);
    side.engine.connectionClosed();
    side.engine.onPeerData("$READY$");
    side.engine.connectionOpened(true);
    EXPECT_TRUE(side.engine.matchState().isShooter) << "an early ready is forgotten";
    // A connection that ends while the end-of-match box is open starts no new match.
    side.engine.randomizeFleet();
    side.engine.acceptFleet();
    side.engine.onPeerData("$READY$");
    side.events.duringResult = [&side] { side.engine.connectionClosed(); };
    side.engine.onPeerData("$WINGAME$");
    EXPECT_EQ(side.engine.myWins(), 1);
    EXPECT_EQ(side.engine.matchState().phase, GamePhase::Idle);
    // A result seen again, whichever match it names, counts no more.
    for (int match = 0; match < 4; ++match)
        side.engine.matchResultSeen(match);
    EXPECT_EQ(side.engine.myWins(), 1);
    EXPECT_EQ(side.engine.peerWins(), 0);
}

// A seeded match, every message and game event of both sides, against the stored
// transcript: a change in behaviour shows here first, and must be deliberate.
TEST(MatchEngineTranscript, ASeededMatchMatchesTheStoredTranscript)
{
    EnginePair pair(2024);
    pair.connect();
    placeFleetByHand(pair.server.engine, handFleet);
    pair.pump();
    pair.randomizeAndAccept(pair.client);
    pair.pump();
    pair.server.engine.sendChatLine("boa sorte");
    pair.pump();
    pair.playToEnd();

    std::ostringstream actual;
    for (EngineSide* side : { &pair.server, &pair.client }) {
        actual << (side == &pair.server ? "== server\n" : "== client\n");
        for (const std::string& line : side->events.transcript)
            actual << line << '\n';
        actual << "-- sent\n";
        for (const std::string& message : side->link.sent)
            actual << message << '\n';
    }
    const std::string path = QUORVEL_TEST_DATA "/match_transcript.txt";
    std::ifstream stored(path);
    ASSERT_TRUE(stored) << path;
    std::stringstream expected;
    expected << stored.rdbuf();
    EXPECT_EQ(actual.str(), expected.str());
}

} // namespace

// Peers that break the rules, one family at a time, fed straight to the server's engine. Each
// case ends with a new connection to a peer that keeps to the rules, and a normal match.
class HostilePeer : public testing::Test {
protected:
    // This side declares first and fires first, or declares second and is the target.
    void play(bool shooter)
    {
        pair.connect();
        if (shooter) {
            placeFleetByHand(server, handFleet);
            server.onPeerData("$READY$");
        } else {
            server.onPeerData("$READY$");
            placeFleetByHand(server, handFleet);
        }
        ASSERT_EQ(server.matchState().phase, GamePhase::Playing);
        ASSERT_EQ(server.matchState().isShooter, shooter);
        sent().clear();
    }
    std::deque<std::string>& sent() { return pair.server.link.queued; }
    void TearDown() override
    {
        for (EngineSide* side : { &pair.server, &pair.client }) {
            side->engine.connectionClosed();
            side->link.queued.clear();
        }
        const int before = server.myWins() + server.peerWins();
        pair.connect();
        pair.randomizeAndAccept(pair.server);
        pair.pump();
        pair.randomizeAndAccept(pair.client);
        pair.pump();
        pair.playToEnd();
        EXPECT_EQ(server.myWins() + server.peerWins(), before + 1) << "a match afterwards";
    }

    EnginePair pair;
    MatchEngine& server = pair.server.engine;
    RecordingEvents& events = pair.server.events;
};

// A ready in mid-play only changes the status: it is not kept for the next match. A win
// counts once, and only in play, however many times it is claimed.
TEST_F(HostilePeer, ReadiesAndWinsOutOfTurnChangeNothing)
{
    ASSERT_NO_FATAL_FAILURE(play(true));
    server.onPeerData("$READY$");
    EXPECT_EQ(said(events.status), "O outro jogador está pronto.");
    EXPECT_TRUE(server.matchState().isShooter);
    events.holdResults = true;
    for (int claim = 0; claim < 20; ++claim)
        server.onPeerData("$WINGAME$");
    EXPECT_EQ(events.unseenResults.size(), 1u);
    events.holdResults = false;
    events.showResult();
    EXPECT_EQ(server.myWins(), 1);
    EXPECT_EQ(server.matchState().phase, GamePhase::Placing);
    EXPECT_TRUE(server.matchState().isShooter) << "the ready of the last match is not kept";
    server.onPeerData("$WINGAME$$WINGAME$");
    EXPECT_EQ(server.myWins(), 1) << "no win while placing";
    EXPECT_EQ(events.results.size(), 1u);
}

// A message cut short is taken as it stands when the next read cannot finish it, and that
// read is taken whole from its first byte.
TEST_F(HostilePeer, AMessageCutShortDoesNotSwallowTheNext)
{
    ASSERT_NO_FATAL_FAILURE(play(false));
    server.onPeerData("TIRO:");
    server.onPeerData("TIRO:B1");
    EXPECT_EQ(sent(), (std::deque<std::string> { "TREQ:*", "TREQ:5" }));
    server.onPeerData("TIRO:C");
    server.onPeerData("$XCHG_MACHINE$");
    EXPECT_EQ(sent().back(), "TREQ:*") << "a shot that names no cell";
    EXPECT_EQ(sent().size(), 3u);
    ASSERT_TRUE(server.matchState().isShooter) << "the hand-over is not lost";
    ASSERT_TRUE(pair.fireAt(pair.server, 9, 9));
    server.onPeerData("TREQ:");
    server.onPeerData("$WINGAME$");
    EXPECT_EQ(said(events.log.back()), "<CPU> Acertou num barco de ? canos.");
    EXPECT_EQ(server.myWins(), 1) << "the win is not lost";
}

// A target answers three shots a turn; a reply counts only for a shot waiting for it, so no
// flood of replies ends a turn early, and no flood of shots buys more than three.
TEST_F(HostilePeer, ShotsAndRepliesBeyondTheTurnAreIgnored)
{
    ASSERT_NO_FATAL_FAILURE(play(true));
    ASSERT_TRUE(pair.fireAt(pair.server, 0, 0));
    sent().clear();
    server.onPeerData("TREQ:*TREQ:*TREQ:*");
    EXPECT_EQ(said(events.status), "A enviar tiro 2 .");
    EXPECT_TRUE(sent().empty()) << "no hand-over after one shot";
    EXPECT_EQ(server.shotResults().size(), 1u);
    for (int column = 1; column < 3; ++column) {
        ASSERT_TRUE(pair.fireAt(pair.server, column, 0));
        server.onPeerData("TREQ:*");
    }
    ASSERT_FALSE(server.matchState().isShooter);
    sent().clear();
    std::string flood;
    for (int shot = 0; shot < 100; ++shot)
        flood += "TIRO:A0";
    server.onPeerData(flood);
    for (int shot = 0; shot < 10; ++shot)
        server.onPeerData("TIRO:J9");
    EXPECT_EQ(sent().size(), 3u);
    EXPECT_EQ(events.hitsTaken(), 0);
}

// A chat line and the message sent after it, glued in one read as a slow link delivers them:
// the line is logged, then the message acted on, in each phase it belongs to.
TEST_F(HostilePeer, AMessageGluedBehindAChatLineIsActedOn)
{
    pair.connect();
    server.onPeerData("USER_MSG:boa sorte$READY$ &RANDOMIZED");
    EXPECT_EQ(said(events.log.back()), "<ADV> boa sorte");
    EXPECT_EQ(said(events.status), "O outro jogador randomizou o jogo e está pronto.");
    EXPECT_FALSE(server.matchState().isShooter) << "the opponent declared first";
    placeFleetByHand(server, handFleet);
    ASSERT_EQ(server.matchState().phase, GamePhase::Playing);
    sent().clear();
    server.onPeerData("USER_MSG:aqui vaiTIRO:B1");
    server.onPeerData("USER_MSG:outroTIRO:J9USER_MSG:e maisTIRO:A0");
    EXPECT_EQ(sent(), (std::deque<std::string> { "TREQ:5", "TAFQ:1", "TREQ:*" }));
    EXPECT_EQ(std::vector(events.log.end() - 3, events.log.end()),
        (std::vector<Text> { { TextId::PeerChat, "aqui vai" }, { TextId::PeerChat, "outro" },
            { TextId::PeerChat, "e mais" } }));
    server.onPeerData("USER_MSG:tua vez$XCHG_MACHINE$");
    ASSERT_TRUE(server.matchState().isShooter);
    const std::pair<const char*, Shot::Outcome> replies[] = {
        { "USER_MSG:\xE1guaTREQ:*", Shot::Miss },
        { "USER_MSG:auTREQ:4", Shot::Hit },
        { "USER_MSG:auTAFQ:2", Shot::Sunk },
    };
    for (const auto& [bytes, kind] : replies) {
        ASSERT_TRUE(pair.fireAt(pair.server, static_cast<int>(server.shotResults().size()), 0));
        server.onPeerData(bytes);
        EXPECT_EQ(server.shotResults().back().outcome, kind) << bytes;
    }
    EXPECT_EQ(said(events.log.back()), "<CPU> Afundou um barco de 2 canos.");
    EXPECT_EQ(sent().back(), "$XCHG_MACHINE$") << "three shots answered";
    server.onPeerData("USER_MSG:parab\xE9ns$WINGAME$");
    EXPECT_EQ(said(events.log.back()), "<ADV> parabéns");
    EXPECT_EQ(server.myWins(), 1);
}

// The end of a chat line may be a message cut by the network: the next read decides, and a
// line whose next read is long in coming is shown as it stands, or when the connection ends.
TEST_F(HostilePeer, AChatLineWhoseEndMayBeAMessageWaitsForTheNextRead)
{
    ASSERT_NO_FATAL_FAILURE(play(false));
    const std::size_t lines = events.log.size();
    server.onPeerData("USER_MSG:vou ao TIRO:B");
    EXPECT_EQ(events.log.size(), lines);
    EXPECT_TRUE(server.holdsChat());
    server.onPeerData("1");
    EXPECT_EQ(said(events.log.back()), "<ADV> vou ao ");
    EXPECT_EQ(sent(), std::deque<std::string> { "TREQ:5" });
    server.onPeerData("USER_MSG:BOT");
    server.showHeldChat();
    EXPECT_EQ(said(events.log.back()), "<ADV> BOT");
    server.onPeerData("TIRO:J9");
    EXPECT_EQ(sent().back(), "TAFQ:1");
    EXPECT_EQ(events.log.size(), lines + 2);
    server.onPeerData("USER_MSG:adeus $");
    server.connectionClosed();
    EXPECT_EQ(said(events.log.back()), "<ADV> adeus $");
}
