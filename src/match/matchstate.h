#pragma once

#include <cstdint>

enum class GamePhase : std::uint8_t {
    Idle = 0, // no match: not connected, or between two matches
    Placing = 1, // the fleet is being placed
    Ready = 2, // this side's fleet is complete, the opponent's not yet known to be
    Playing = 3, // shots are exchanged
};

// One side's match as it stands, for whoever shows it or plays it.
struct MatchState {
    GamePhase phase = GamePhase::Idle;
    // While playing: this side fires in the current turn. Before play: this side has not
    // seen the opponent declare ready first, so it will fire first.
    bool isShooter = false;
    bool shotPending = false; // a shot of this side is unanswered
    int shotsThisTurn = 0; // answered shots of the current turn, 0..2
    int cellsPlaced = 0; // ship cells on the own board while placing
    bool showOwnFleet = true; // the left grid shows the own board, not the cover
};
