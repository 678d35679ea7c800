// Our engine against a copy of the game that has none of our mends, in memory: twenty
// matches in each role, with the other side's end-of-match box open for 0, 0.5 and 3 s, with
// a chat line right before every ready, and with our player declaring at once, while that
// copy's box is still open. No match stalls, no loss is counted twice, and the scores agree.

#include "enginepair.h"
#include "strictpeer.h"

#include "match/autoplayer.h"
#include "net/gamesession.h"

#include <gtest/gtest.h>

#include <tuple>

namespace {

struct Duel {
    Duel(bool weListen, bool weWait, const StrictPeer::Settings& settings)
        : strict(strictLink, settings)
        , player(ours.engine, makeShotPlanner(PlannerLevel::Normal))
        , listening(weListen)
        , waits(weWait)
    {
        ours.engine.random().seed(settings.seed + 100);
    }

    // Plays until each side has counted `matches`; false on a stall (a minute of game time
    // with no match ended).
    bool play(int matches, bool weChat)
    {
        ours.engine.connectionOpened(listening);
        strict.connected(now);
        int lastProgress = 0;
        int counted = 0;
        while (ours.engine.myWins() + ours.engine.peerWins() < matches
            || strict.myWins + strict.peerWins < matches) {
            step(weChat);
            const int nowCounted = ours.engine.myWins() + ours.engine.peerWins();
            if (nowCounted != counted) {
                counted = nowCounted;
                lastProgress = now;
            }
            if (now - lastProgress > 60'000)
                return false;
        }
        return true;
    }

    // Ten milliseconds: at most one send arrives each way, as a read of its own, then both
    // players act. So a player may act between two messages sent together.
    void step(bool weChat)
    {
        if (!ours.link.queued.empty()) {
            const std::string bytes = std::move(ours.link.queued.front());
            ours.link.queued.pop_front();
            strict.read(bytes, now);
        }
        if (!strictLink.queued.empty()) {
            const std::string bytes = std::move(strictLink.queued.front());
            strictLink.queued.pop_front();
            ours.engine.onPeerData(bytes);
        }
        strict.act(now);
        if (ours.engine.matchState().phase == GamePhase::Placing) {
            placingSince = placingSince < 0 ? now : placingSince;
            const bool waitedEnough = !waits || now - placingSince >= 20'000;
            if (player.waitsForOpponent() && !waitedEnough)
                return advance();
            if (weChat)
                ours.engine.sendChatLine("vamos");
            player.play();
        } else {
            placingSince = -1;
            if (player.nextMove() == AutoPlayer::Move::Fire)
                player.play();
        }
        // As the connection handlers do with a first shot long unanswered.
        if (!ours.engine.openingShotUnanswered())
            unansweredSince = -1;
        else if (unansweredSince < 0)
            unansweredSince = now;
        else if (now - unansweredSince >= GameSession::ReadyRepeatMs)
            ours.engine.repeatReady();
        advance();
    }
    void advance() { now += 10; }

    EngineSide ours;
    MemoryLink strictLink;
    StrictPeer strict;
    AutoPlayer player;
    bool listening;
    bool waits; // our player declares after a match only once the opponent has, or 20 s on
    int now = 0;
    int placingSince = -1;
    int unansweredSince = -1;
};

TEST(StrictPeer, TwentyMatchesInEachRoleWithBoxesOpenForAWhile)
{
    for (const auto& [weListen, boxMs, chat, weWait] :
        { std::tuple { true, 0, false, true }, std::tuple { false, 0, true, true },
            std::tuple { true, 500, true, true }, std::tuple { false, 500, false, true },
            std::tuple { true, 3000, true, true }, std::tuple { false, 3000, true, true },
            std::tuple { true, 3000, false, false }, std::tuple { false, 3000, true, false } }) {
        SCOPED_TRACE(testing::Message()
            << (weListen ? "we listen" : "we connect") << ", box " << boxMs << " ms"
            << (chat ? ", chat" : "") << (weWait ? "" : ", we declare at once"));
        StrictPeer::Settings settings;
        settings.boxMs = boxMs;
        settings.chatBeforeReady = chat;
        settings.seed = static_cast<unsigned>(boxMs + weListen);
        Duel duel(weListen, weWait, settings);
        ASSERT_TRUE(duel.play(20, chat))
            << "stalled after " << duel.ours.engine.myWins() + duel.ours.engine.peerWins()
            << " matches";
        EXPECT_EQ(duel.ours.engine.myWins(), duel.strict.peerWins);
        EXPECT_EQ(duel.ours.engine.peerWins(), duel.strict.myWins);
        EXPECT_EQ(duel.strict.myWins + duel.strict.peerWins, 20);
        EXPECT_EQ(duel.strict.winBoxes + duel.strict.lossBoxes, 20) << "a match ended twice";
        EXPECT_EQ(std::count(duel.ours.link.sent.begin(), duel.ours.link.sent.end(), "$WINGAME$"),
            duel.ours.engine.peerWins());
        if (chat) {
            EXPECT_EQ(duel.strict.log.front(), "<ADV> vamos");
            EXPECT_EQ(std::count(duel.ours.events.log.begin(), duel.ours.events.log.end(),
                          Text { TextId::PeerChat, "pronto?" }),
                20);
        }
    }
}

} // namespace
