#pragma once

#include "ai/shotplanner.h"

#include <memory>
#include <vector>

class MatchEngine;

// A computer player at the controls of a match engine. It declares a generated fleet when a
// match starts and fires when it is its turn, through the same commands a person's buttons
// and clicks give ("Randomize", "Aceitar", a cell of the enemy grid), so neither the engine
// nor the opponent can tell it from a person. Where it fires is its planner's choice.
class AutoPlayer {
public:
    enum class Move {
        None, // nothing to do until the opponent answers
        DeclareFleet, // a match has started and the fleet is not yet declared
        Fire, // this side's turn, no shot unanswered
        NoCellLeft, // its turn, but the replies have left no open cell to fire at
    };

    AutoPlayer(MatchEngine& engine, std::unique_ptr<ShotPlanner> planner); // engine not owned

    // What the player would do now.
    Move nextMove() const;
    // After a match it lets the opponent declare first: the opponent's end-of-match box may
    // still be open, and not every copy of the game keeps a ready that comes then. True while
    // it should hold its fleet back for that reason; how long is the caller's to say.
    bool waitsForOpponent() const;
    // Does it, and answers what it did: None when there was nothing to do, NoCellLeft when
    // it was to fire and could not (the opponent's replies broke the rules).
    Move play();

    // The answered shots of the engine's current match, as the planner reads them.
    std::vector<ShotReport> shotReports() const;

private:
    bool fire();

    MatchEngine& engine;
    std::unique_ptr<ShotPlanner> planner;
};
