#pragma once

#include "ai/shotplanner.h"

#include <QString>

// The computer's level as the player reads it, in the player's language: "Fácil", "Normal",
// "Difícil". One name wherever a level is offered or counted.
QString levelName(PlannerLevel level);
