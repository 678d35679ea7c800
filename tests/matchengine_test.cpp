#include "enginepair.h"

#include "match/controlids.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

namespace {

// Both sides connected, the server's fleet declared first (so it fires first), then the
// client's: both are playing.
class Match : public testing::Test {
protected:
    void SetUp() override
    {
        pair.connect();
        placeFleetByHand(pair.server.engine, handFleet);
        pair.pump();
        placeFleetByHand(pair.client.engine, handFleet);
        pair.pump();
        ASSERT_EQ(server.matchState().phase, GamePhase::Playing);
        ASSERT_EQ(client.matchState().phase, GamePhase::Playing);
    }

    // The server fires at a cell of the client's fleet and the reply comes back.
    void serverFires(int column, int row)
    {
        ASSERT_TRUE(pair.fireAt(pair.server, column, row));
        pair.pump();
    }

    std::vector<std::string> sentBy(Side& side, std::size_t from)
    {
        return { side.link.sent.begin() + static_cast<long>(from), side.link.sent.end() };
    }

    EnginePair pair;
    MatchEngine& server = pair.server.engine;
    MatchEngine& client = pair.client.engine;
};

TEST(MatchEngineStart, NewMatchResetsEverything)
{
    Side side;
    side.engine.connectionOpened(false);
    const MatchState& state = side.engine.matchState();
    EXPECT_EQ(state.phase, GamePhase::Placing);
    EXPECT_TRUE(state.isShooter);
    EXPECT_EQ(state.cellsPlaced, 0);
    EXPECT_TRUE(state.showOwnFleet);
    EXPECT_EQ(side.window.statusText, "Criar tabuleiro.");
    EXPECT_EQ(side.window.captions[IDC_HIDE_SHOW], "Ocultar");
    EXPECT_TRUE(side.window.generatorShown);
    EXPECT_TRUE(side.window.enabled(IDC_RANDOMIZE));
    EXPECT_TRUE(side.window.enabled(IDC_GENERATOR_GROUP));
    EXPECT_FALSE(side.window.enabled(IDC_ACCEPT));
    EXPECT_FALSE(side.window.enabled(IDC_HIDE_SHOW));
    for (int i = 0; i < 100; ++i)
        EXPECT_EQ(side.engine.coverBoard().cells[i], CellCover);
    EXPECT_EQ(&side.engine.displayedBoard(), &side.engine.ownBoard());

    // A second start while a match runs does nothing.
    side.window.transcript.clear();
    side.engine.startNewMatch();
    EXPECT_TRUE(side.window.transcript.empty());
}

TEST(MatchEngineStart, FirstToDeclareFiresFirst)
{
    EnginePair pair;
    pair.connect();
    pair.randomizeAndAccept(pair.client);
    EXPECT_EQ(pair.client.window.statusText, "Jogo preenchido.A aguardar pelo outro jogador");
    EXPECT_EQ(pair.client.link.sent.back(), "$READY$ &RANDOMIZED");
    EXPECT_EQ(pair.client.engine.matchState().phase, GamePhase::Ready);
    EXPECT_TRUE(pair.client.window.enabled(IDC_HIDE_SHOW));
    EXPECT_FALSE(pair.client.window.generatorShown);
    pair.pump();
    EXPECT_EQ(pair.server.window.statusText, "O outro jogador randomizou o jogo e está pronto.");
    EXPECT_TRUE(pair.server.engine.peerFleetRandomized());
    EXPECT_FALSE(pair.server.engine.matchState().isShooter);
    EXPECT_EQ(pair.server.window.beeps.back(), BeepKind::Default);

    placeFleetByHand(pair.server.engine, handFleet);
    EXPECT_EQ(pair.server.link.sent.back(), "$READY$");
    EXPECT_EQ(pair.server.window.statusText, "Let the game BEGIN!\nA receber tiros.");
    EXPECT_EQ(pair.server.engine.matchState().phase, GamePhase::Playing);
    pair.pump();
    EXPECT_EQ(pair.client.window.statusText, "Let the game begin!\nPode atirar.");
    EXPECT_EQ(pair.client.engine.matchState().phase, GamePhase::Playing);
    EXPECT_TRUE(pair.client.engine.matchState().isShooter);
}

TEST_F(Match, RepliesNameTheWholeShipLength)
{
    // The client's three at column 0, rows 5..7.
    serverFires(0, 6);
    EXPECT_EQ(pair.client.link.sent.back(), "TREQ:3");
    EXPECT_EQ(client.ownBoard().getCell(0, 6), CellHit);
    EXPECT_EQ(client.coverBoard().getCell(0, 6), CellHit);
    EXPECT_EQ(pair.client.window.flashes, 1);
    EXPECT_EQ(server.enemyBoard().getCell(0, 6), CellShip);
    EXPECT_EQ(pair.server.window.log.back(), "<CPU> Acertou num barco de 3 canos.");
    EXPECT_EQ(pair.server.window.statusText, "A enviar tiro 2 .");

    serverFires(0, 5);
    serverFires(0, 7);
    EXPECT_EQ(pair.client.link.sent.back(), "TAFQ:3");
    EXPECT_EQ(pair.server.window.log.back(), "<CPU> Afundou um barco de 3 canos.");
    // Third answered shot: the turn goes over.
    EXPECT_EQ(pair.server.link.sent.back(), "$XCHG_MACHINE$");
    EXPECT_EQ(pair.server.window.statusText, "A receber tiros do adversario.");
    EXPECT_EQ(pair.client.window.statusText, "A enviar tiro 1...");
    EXPECT_FALSE(server.matchState().isShooter);
    EXPECT_TRUE(client.matchState().isShooter);
    // Water all round the sunk three; the hits stay.
    for (int column = 0; column <= 1; ++column) {
        for (int row = 4; row <= 8; ++row) {
            const std::uint8_t expected
                = column == 0 && row >= 5 && row <= 7 ? CellShip : CellWater;
            EXPECT_EQ(server.enemyBoard().getCell(column, row), expected) << column << "," << row;
        }
    }
}

TEST_F(Match, SingleCellShipsSinkAtOnceAndMissesAreWater)
{
    serverFires(9, 9);
    EXPECT_EQ(pair.client.link.sent.back(), "TAFQ:1");
    EXPECT_EQ(pair.server.window.log.back(), "<CPU> Afundou um barco de 1 cano.");
    EXPECT_EQ(server.enemyBoard().getCell(8, 8), CellWater);
    serverFires(5, 5);
    ASSERT_EQ(server.shotResults().size(), 2u);
    EXPECT_EQ(server.shotResults()[0].kind, ShotResult::Sunk);
    EXPECT_EQ(server.shotResults()[0].length, '1');
    EXPECT_EQ(server.shotResults()[1].kind, ShotResult::Miss);
    EXPECT_EQ(server.shotResults()[1].column, 5);
    EXPECT_EQ(pair.client.link.sent.back(), "TREQ:*");
    EXPECT_EQ(server.enemyBoard().getCell(5, 5), CellWater);
    EXPECT_EQ(client.ownBoard().getCell(5, 5), CellWater);
    EXPECT_EQ(client.coverBoard().getCell(5, 5), CellWater);
}

TEST_F(Match, ShotsThatCannotBeFiredAreNotSent)
{
    serverFires(5, 5);
    const auto before = pair.server.link.sent.size();
    // Again at the same cell: refused with a beep.
    pair.server.engine.aimAt(5, 5);
    EXPECT_TRUE(server.fireShot());
    EXPECT_EQ(pair.server.window.beeps.back(), BeepKind::Error);
    EXPECT_EQ(pair.server.window.statusText, "Aponte num local vazio...para não repetir tiros!");
    // While a shot is unanswered, a click does nothing.
    pair.server.engine.aimAt(3, 3);
    EXPECT_FALSE(server.fireShot());
    EXPECT_FALSE(server.fireShot());
    EXPECT_EQ(pair.server.link.sent.size(), before + 1);
    // The target cannot fire.
    pair.client.engine.aimAt(3, 3);
    EXPECT_FALSE(client.fireShot());
    EXPECT_EQ(pair.client.link.sent.back(), "TREQ:*");
}

TEST_F(Match, MessagesThatDoNotApplyAreIgnored)
{
    const Board enemyBefore = server.enemyBoard();
    client.onPeerData("TREQ:*TAFQ:3"); // the client is not the shooter
    EXPECT_EQ(client.matchState().shotsThisTurn, 0);
    server.onPeerData("TIRO:A0"); // the server fires; a shot at it is not answered
    EXPECT_TRUE(pair.server.link.queued.empty());
    EXPECT_EQ(server.enemyBoard().cells, enemyBefore.cells);
}

TEST_F(Match, ShotsOffTheGridAreAnsweredAsMisses)
{
    // The client is the target: whatever a shot's two bytes name, it is answered.
    for (std::string_view bytes : { "TIRO:K0", "TIRO:A:", "TIRO:a1", "TIRO:\xC1\x31", "TIRO:@9" }) {
        const Board before = client.ownBoard();
        pair.client.link.queued.clear();
        client.onPeerData(bytes);
        ASSERT_EQ(pair.client.link.queued.size(), 1u) << bytes;
        EXPECT_EQ(pair.client.link.queued.back(), "TREQ:*") << bytes;
        EXPECT_EQ(client.ownBoard().cells, before.cells) << bytes;
    }
}

TEST_F(Match, ReplyArgumentsAreLoggedAsTheyCome)
{
    ASSERT_TRUE(pair.fireAt(pair.server, 5, 5));
    server.onPeerData("TREQ:4");
    EXPECT_EQ(pair.server.window.log.back(), "<CPU> Acertou num barco de 4 canos.");
    ASSERT_TRUE(pair.fireAt(pair.server, 6, 6));
    server.onPeerData("TAFQ:\xE9");
    EXPECT_EQ(pair.server.window.log.back(), "<CPU> Afundou um barco de é canos.");
}

TEST_F(Match, ReadyDuringPlayOnlyChangesTheStatus)
{
    const MatchState before = server.matchState();
    server.onPeerData("$READY$");
    EXPECT_EQ(pair.server.window.statusText, "O outro jogador está pronto.");
    EXPECT_EQ(pair.server.window.beeps.back(), BeepKind::Default);
    EXPECT_EQ(server.matchState().phase, GamePhase::Playing);
    EXPECT_EQ(server.matchState().isShooter, before.isShooter);
}

TEST_F(Match, ChatLinesGoBothWays)
{
    pair.server.engine.sendChatLine("olá, tudo bem?");
    EXPECT_EQ(pair.server.link.sent.back(), "USER_MSG:ol\xE1, tudo bem?");
    EXPECT_EQ(pair.server.window.log.back(), "<EU> olá, tudo bem?");
    pair.pump();
    EXPECT_EQ(pair.client.window.log.back(), "<ADV> olá, tudo bem?");
    const auto sent = pair.server.link.sent.size();
    pair.server.engine.sendChatLine("");
    EXPECT_EQ(pair.server.link.sent.size(), sent);
    pair.server.link.open = false;
    pair.server.engine.sendChatLine("   ");
    EXPECT_FALSE(pair.server.window.enabled(IDC_SEND));
    EXPECT_EQ(pair.server.window.log.back(), "<EU>    ");
}

TEST_F(Match, FailedGuardedSendsWarnOncePerMessage)
{
    pair.client.link.open = false;
    serverFires(9, 9); // the reply fails
    EXPECT_EQ(pair.client.window.boxes,
        std::vector<std::string> { "Envio de mensagem: Erro ao comunicar dados.Buffer underrun?" });
    EXPECT_TRUE(client.matchState().sendPending);
    client.onSendReady();
    EXPECT_FALSE(client.matchState().sendPending);
}

TEST_F(Match, HiddenFleetShowsHitsOnTheCoverAndReturnsAfterALoss)
{
    pair.client.engine.onHideShow();
    EXPECT_FALSE(client.matchState().showOwnFleet);
    EXPECT_EQ(pair.client.window.captions[IDC_HIDE_SHOW], "Mostrar");
    EXPECT_EQ(&client.displayedBoard(), &client.coverBoard());

    // The server sinks the client's whole fleet; in its turns the client fires at open sea.
    std::vector<std::pair<int, int>> sea;
    for (int column = 0; column < 10; ++column) {
        for (int row = 0; row < 10; ++row) {
            if (server.ownBoard().getCell(column, row) == CellEmpty)
                sea.emplace_back(column, row);
        }
    }
    auto nextSea = sea.begin();
    for (auto [column, row] : handFleet) {
        while (!server.matchState().isShooter) {
            ASSERT_TRUE(pair.fireAt(pair.client, nextSea->first, nextSea->second));
            ++nextSea;
            pair.pump();
        }
        serverFires(column, row);
    }
    EXPECT_EQ(client.coverBoard().getCell(9, 9), CellCover) << "a new match covers all again";
    EXPECT_EQ(pair.client.link.sent.back(), "$WINGAME$");
    EXPECT_EQ(pair.client.window.boxes.back(),
        "Melhor sorte para a próxima...: O outro jogador ganhou. Carrege em OK para novo jogo.");
    EXPECT_EQ(pair.server.window.boxes.back(),
        "BUM! he he he...: Ganhou o jogo. Carrege em OK para novo.");
    EXPECT_EQ(pair.client.window.title, "Redefinir novo jogo... [ Eu=0 , Adv=1 ]");
    EXPECT_EQ(pair.server.window.title, "Redefinir novo jogo... [ Eu=1 , Adv=0 ]");
    // The fleet is shown again, and a new match has begun on both sides.
    EXPECT_TRUE(client.matchState().showOwnFleet);
    EXPECT_EQ(pair.client.window.captions[IDC_HIDE_SHOW], "Ocultar");
    EXPECT_EQ(&client.displayedBoard(), &client.ownBoard());
    for (MatchEngine* engine : { &server, &client }) {
        EXPECT_EQ(engine->matchState().phase, GamePhase::Placing);
        EXPECT_TRUE(engine->matchState().isShooter);
        EXPECT_FALSE(engine->ownBoard().holdsCode(CellShip));
    }
}

TEST(MatchEngineWhole, MatchesPlayToTheEndInEveryDelivery)
{
    for (Delivery delivery : { Delivery::PerSend, Delivery::Coalesced, Delivery::ByteByByte }) {
        EnginePair pair(7);
        pair.connect();
        for (int match = 0; match < 3; ++match) {
            pair.randomizeAndAccept(match % 2 == 0 ? pair.server : pair.client);
            pair.pump(delivery);
            pair.randomizeAndAccept(match % 2 == 0 ? pair.client : pair.server);
            pair.pump(delivery);
            const int shots = pair.playToEnd(delivery);
            EXPECT_GE(shots, 25);
            EXPECT_LE(shots, 200);
        }
        const int serverWins = pair.server.engine.myWins();
        const int clientWins = pair.client.engine.myWins();
        EXPECT_EQ(serverWins + clientWins, 3);
        EXPECT_EQ(pair.server.engine.peerWins(), clientWins);
        EXPECT_EQ(pair.client.engine.peerWins(), serverWins);
        EXPECT_EQ(pair.server.engine.matchState().phase, GamePhase::Placing);
    }
}

TEST(MatchEngineWhole, EveryTurnIsThreeAnsweredShots)
{
    EnginePair pair(11);
    pair.connect();
    pair.randomizeAndAccept(pair.server);
    pair.pump();
    pair.randomizeAndAccept(pair.client);
    pair.pump();
    pair.playToEnd();
    // In each side's sent messages, a hand-over follows exactly three shots.
    for (Side* side : { &pair.server, &pair.client }) {
        int shots = 0;
        for (const std::string& message : side->link.sent) {
            if (message.starts_with("TIRO:"))
                ++shots;
            if (message == "$XCHG_MACHINE$") {
                EXPECT_EQ(shots, 3);
                shots = 0;
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
    pair.pump(); // each ready reaches a side that is already ready
    ASSERT_TRUE(pair.server.engine.matchState().isShooter);
    ASSERT_TRUE(pair.client.engine.matchState().isShooter);
    // Both fire before either shot arrives.
    ASSERT_TRUE(pair.fireAt(pair.client, 4, 4));
    ASSERT_TRUE(pair.fireAt(pair.server, 5, 5));
    pair.pump();
    EXPECT_TRUE(pair.server.engine.matchState().isShooter);
    EXPECT_FALSE(pair.client.engine.matchState().isShooter);
    EXPECT_EQ(pair.client.window.statusText, "Let the game begin!\nA receber os tiros...");
    EXPECT_EQ(pair.server.window.statusText, "A enviar tiro 2 .");
    EXPECT_EQ(pair.client.engine.enemyBoard().getCell(4, 4), CellEmpty) << "shot forgotten";
    // And the match goes on to its end.
    pair.playToEnd();
    EXPECT_EQ(pair.server.engine.myWins() + pair.client.engine.myWins(), 1);
}

TEST(MatchEngineConflict, EarlyReadyIsKeptForTheNextMatch)
{
    EnginePair pair;
    pair.connect();
    pair.randomizeAndAccept(pair.server);
    pair.pump();
    pair.randomizeAndAccept(pair.client);
    pair.pump();
    // While the loser's box is open, the winner has already started the next match and
    // declared its fleet: the ready reaches the loser still playing.
    Side* loser = nullptr;
    Side* winner = nullptr;
    for (Side* side : { &pair.server, &pair.client }) {
        Side* other = side == &pair.server ? &pair.client : &pair.server;
        side->window.duringBox = [&pair, &loser, &winner, side, other] {
            if (loser || !side->window.boxes.back().starts_with("Melhor sorte"))
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
    EXPECT_EQ(loser->window.statusText, "O outro jogador randomizou o jogo e está pronto.");
    pair.randomizeAndAccept(*loser);
    pair.pump();
    EXPECT_EQ(loser->engine.matchState().phase, GamePhase::Playing);
    EXPECT_EQ(winner->engine.matchState().phase, GamePhase::Playing);
    EXPECT_TRUE(winner->engine.matchState().isShooter);
    pair.playToEnd();
    EXPECT_EQ(pair.server.engine.myWins() + pair.client.engine.myWins(), 2);
}

TEST(MatchEngineConnection, ClosingForgetsAnEarlyReady)
{
    Side side;
    side.engine.connectionOpened(true);
    side.engine.connectionClosed();
    side.engine.onPeerData("$READY$");
    side.engine.connectionOpened(true);
    EXPECT_TRUE(side.engine.matchState().isShooter);
    EXPECT_EQ(side.window.statusText, "Criar tabuleiro.");
}

TEST(MatchEngineConnection, NoNewMatchStartsAfterTheConnectionEndedDuringTheBox)
{
    Side side;
    side.engine.connectionOpened(true);
    side.window.duringBox = [&side] { side.engine.connectionClosed(); };
    side.engine.onPeerData("$WINGAME$");
    EXPECT_EQ(side.engine.myWins(), 1);
    EXPECT_EQ(side.engine.matchState().phase, GamePhase::Idle);
}

// A seeded match, every message and window request of both sides, against the stored
// transcript: a change in behaviour shows here first, and must be deliberate.
TEST(MatchEngineTranscript, SeededMatchMatchesTheStoredTranscript)
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
    for (Side* side : { &pair.server, &pair.client }) {
        actual << (side == &pair.server ? "== server\n" : "== client\n");
        for (const std::string& line : side->window.transcript)
            actual << line << '\n';
        actual << "-- sent\n";
        for (const std::string& message : side->link.sent)
            actual << message << '\n';
    }
    const std::string path = QUORVEL_TEST_DATA "/match_transcript.txt";
    std::ifstream stored(path);
    if (!stored) {
        std::ofstream(path) << actual.str();
        FAIL() << "no stored transcript: wrote " << path << "; check it and commit it";
    }
    std::stringstream expected;
    expected << stored.rdbuf();
    EXPECT_EQ(actual.str(), expected.str());
}

} // namespace
