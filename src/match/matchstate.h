#pragma once

#include <cstdint>

enum class GamePhase : std::uint8_t {
    Idle = 0, // no match: not connected, or between two matches
    Placing = 1, // the fleet is being placed
    Ready = 2, // this side's fleet is complete, the opponent's not yet known to be
    Playing = 3, // shots are exchanged
};

enum class MouseRegion : std::uint8_t {
    None = 0,
    OwnGrid = 1,
    EnemyGrid = 2,
};

// One side's match.
struct MatchState {
    bool showOwnFleet = true; // the left grid shows the own board, not the cover
    bool sendPending = false; // a guarded send happened since the socket last could send
    bool shotPending = false; // a shot of this side is unanswered
    std::uint8_t lastShotRow = 0;
    std::uint8_t lastShotCol = 0;
    std::uint8_t shotsThisTurn = 0; // answered shots of the current turn, 0..2
    // While playing: this side fires in the current turn. Before play: this side has not
    // seen the opponent declare ready first, so it will fire first.
    bool isShooter = false;
    MouseRegion mouseRegion = MouseRegion::None;
    std::uint8_t cellsPlaced = 0; // ship cells on the own board while placing
    GamePhase phase = GamePhase::Idle;
};
