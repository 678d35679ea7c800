// Building the fleet: cell by cell on the own grid, or with the generator.

#include "matchengine.h"

#include "controlids.h"
#include "windowrequests.h"

#include "core/fleetrules.h"

#include <string>

void MatchEngine::showPlacementPrompt()
{
    window.setStatusText("Coloque o cano " + std::to_string(state.cellsPlaced + 1));
}

// A left click on the own grid while placing: the cell under the cursor becomes a ship cell.
// The 25th cell runs the fleet rules; a legal fleet is declared, an illegal one loses the
// cell again.
void MatchEngine::placeCell()
{
    const int column = own.cursorColumn;
    const int row = own.cursorRow;
    if (own.getCell(column, row) != CellEmpty)
        return;
    own.setCell(column, row, CellShip);
    window.drawBoard(own);
    ++state.cellsPlaced;
    if (state.cellsPlaced < FleetCellCount) {
        showPlacementPrompt();
        return;
    }
    if (!validateFleet(own)) {
        --state.cellsPlaced;
        window.beep(BeepKind::Exclamation);
        window.setStatusText("Corrija o jogo...");
        own.setCell(column, row, CellEmpty);
        window.drawBoard(own);
        return;
    }
    declareReady(protocol::ReadyMessage);
    window.repaint();
}

void MatchEngine::removeCell()
{
    if (state.cellsPlaced == 0) {
        window.beep(BeepKind::Exclamation);
        return;
    }
    const int column = own.cursorColumn;
    const int row = own.cursorRow;
    if (own.getCell(column, row) != CellShip)
        return;
    --state.cellsPlaced;
    showPlacementPrompt();
    own.setCell(column, row, CellEmpty);
    // A generated fleet changed by hand is no longer the generator's to accept.
    window.enableControl(IDC_ACCEPT, false);
    window.drawBoard(own);
}

void MatchEngine::onRandomize()
{
    if (state.phase != GamePhase::Placing)
        return;
    generateFleet(own, randomSource);
    window.drawBoard(own);
    state.cellsPlaced = FleetCellCount;
    window.enableControl(IDC_ACCEPT, true);
}

void MatchEngine::onAcceptFleet()
{
    if (state.phase == GamePhase::Placing && state.cellsPlaced == FleetCellCount)
        declareReady(protocol::ReadyRandomizedMessage);
}
