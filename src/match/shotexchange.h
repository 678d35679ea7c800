#pragma once

#include "gameevents.h"

#include "core/board.h"

#include <vector>

// The exchange of shots in one match: whose turn it is, the shot of this side waiting for
// its reply, the three answered shots of a turn, the opponent's grid as the replies drew
// it, and the opponent's shots answered on the own fleet. It keeps the count and the marks;
// when a shot or a reply may be taken is the match engine's to say.
class ShotExchange {
public:
    // While playing: this side fires in the current turn. Before play: this side has not
    // seen the opponent declare first, so it will fire first.
    bool isShooter() const { return shooter; }
    bool shotPending() const { return pending; }
    int shotsThisTurn() const { return turnShots; }
    // The opponent's shots answered in its current turn.
    bool mayAnswer() const { return answeredThisTurn < 3; }
    // From the start of the match until the first reply or hand-over: a shot that reaches a
    // shooter then means both sides declared ready at the same time.
    bool openingVolley() const { return opening; }
    // This side gave the first turn up with a shot of its own unanswered.
    bool yieldedWithShot() const { return yieldedPending; }
    // This side is the target and no shot of the opponent has come yet this match.
    bool firstShotAwaited() const { return !shooter && opening && answeredThisTurn == 0; }

    const Board& enemy() const { return enemyGrid; }
    // This side's answered shots, in order.
    const std::vector<Shot>& results() const { return answered; }
    // The opponent's ship cells hit so far.
    int enemyHits() const;

    // The opponent declared first: it fires first.
    void opponentFiresFirst() { shooter = false; }
    void fire(GridCell cell);
    // The opponent's reply to the shot waiting for it; water is marked around a ship sunk.
    // True when it was the third of the turn, which then passes to the opponent.
    bool replied(Shot::Outcome outcome, char length);
    // The opponent's shot at the own fleet, marked on the own board and its cover.
    Shot receive(GridCell cell, Board& own, Board& cover);
    // The opponent hands the turn over.
    void takeTurn();
    // Both sides fired first: this side lets the opponent have the turn.
    void yieldOpeningTurn();
    // Both gave the first turn up: the listening side takes it back, its shot answered.
    void takeBackOpeningTurn();
    // Both gave the first turn up and the listening side took it back: the opponent's reply
    // to the shot this side yielded with is marked, but that shot is no shot of a turn.
    void yieldedShotReplied(Shot::Outcome outcome, char length);

private:
    void mark(Shot::Outcome outcome, char length);

    Board enemyGrid;
    std::vector<Shot> answered;
    GridCell lastShot;
    bool shooter = true;
    bool pending = false;
    int turnShots = 0;
    int answeredThisTurn = 0;
    bool opening = true;
    bool yieldedPending = false;
};
