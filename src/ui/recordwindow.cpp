#include "recordwindow.h"

#include "levelnames.h"
#include "matchrecord.h"
#include "windowplacement.h"

#include "about/aboutdialog.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeySequence>
#include <QLabel>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QShortcut>
#include <QTableWidget>
#include <QVBoxLayout>

RecordWindow::RecordWindow(MatchRecord& shown, QWidget* parent)
    : QWidget(parent, Qt::Window)
    , record(shown)
    , grid(new QTableWidget(MatchRecord::Opponents, 3, this))
    , erase(new QPushButton(tr("Apagar registo"), this))
{
    setWindowTitle(tr("Registo de partidas"));
    setWindowIcon(programIcon());

    grid->setHorizontalHeaderLabels({ tr("Vitórias"), tr("Derrotas"), tr("Tiros por vitória") });
    grid->setVerticalHeaderLabels({ levelName(PlannerLevel::Easy), levelName(PlannerLevel::Normal),
        levelName(PlannerLevel::Hard), tr("Jogadores") });
    grid->verticalHeaderItem(static_cast<int>(MatchRecord::Opponent::Players))
        ->setToolTip(tr("Contra outros jogadores, não o computador deste programa."));
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->setSelectionMode(QAbstractItemView::NoSelection);
    grid->setFocusPolicy(Qt::NoFocus);
    grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    grid->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    grid->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    for (int row = 0; row < grid->rowCount(); ++row) {
        for (int column = 0; column < grid->columnCount(); ++column) {
            auto* item = new QTableWidgetItem;
            item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            grid->setItem(row, column, item);
        }
    }

    auto* note = new QLabel(tr("Os tiros por vitória são a média dos tiros que disparou em "
                               "cada partida que ganhou."),
        this);
    note->setWordWrap(true);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(erase);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(grid);
    layout->addWidget(note);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(erase, &QPushButton::clicked, this, &RecordWindow::askBeforeErasing);
    connect(&record, &MatchRecord::changed, this, &RecordWindow::showRecord);
    auto* close = new QShortcut(QKeySequence::Cancel, this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
    showRecord();
    // The note wraps to the table's width rather than widening the window.
    note->setMaximumWidth(grid->width());
}

RecordWindow* RecordWindow::present(
    QPointer<RecordWindow>& kept, MatchRecord& record, QWidget* parent)
{
    return presentKept(kept, [&] { return new RecordWindow(record, parent); });
}

// The mean with one decimal, as the desktop writes numbers; a dash before the first win.
void RecordWindow::showRecord()
{
    const QLocale locale;
    bool anything = false;
    for (int row = 0; row < MatchRecord::Opponents; ++row) {
        const auto opponent = static_cast<MatchRecord::Opponent>(row);
        const MatchRecord::Tally& counted = record.tally(opponent);
        const std::optional<double> mean = record.shotsPerWin(opponent);
        grid->item(row, 0)->setText(locale.toString(counted.wins));
        grid->item(row, 1)->setText(locale.toString(counted.losses));
        grid->item(row, 2)->setText(mean ? locale.toString(*mean, 'f', 1) : QStringLiteral("—"));
        anything = anything || counted.wins > 0 || counted.losses > 0;
    }
    erase->setEnabled(anything);
    fitTable();
}

// The whole table in view, with no scroll bars, as wide as its longest texts.
void RecordWindow::fitTable()
{
    grid->resizeColumnsToContents();
    grid->resizeRowsToContents();
    int width = 2 * grid->frameWidth() + grid->verticalHeader()->sizeHint().width();
    for (int column = 0; column < grid->columnCount(); ++column)
        width += grid->columnWidth(column);
    int height = 2 * grid->frameWidth() + grid->horizontalHeader()->sizeHint().height();
    for (int row = 0; row < grid->rowCount(); ++row)
        height += grid->rowHeight(row);
    grid->setFixedSize(width, height);
}

void RecordWindow::askBeforeErasing()
{
    if (eraseQuestion) {
        eraseQuestion->raise();
        eraseQuestion->activateWindow();
        return;
    }
    eraseQuestion = askFirst(this, Qt::NonModal, windowTitle(),
        tr("Apagar o registo de todas as partidas? Não se pode desfazer."), tr("Apagar"),
        QMessageBox::DestructiveRole, tr("Cancelar"), [this] { record.clear(); });
}
