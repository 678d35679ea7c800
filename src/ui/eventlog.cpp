#include "eventlog.h"

#include <QScrollBar>
#include <QToolButton>

EventLog::EventLog(int keptLines, QWidget* parent)
    : QListWidget(parent)
    , kept(keptLines)
    , newLines(new QToolButton(this))
{
    setSelectionMode(QAbstractItemView::NoSelection);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    newLines->setFocusPolicy(Qt::NoFocus);
    newLines->hide();
    connect(newLines, &QToolButton::clicked, this, &EventLog::showTop);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int value) {
        if (value == 0) {
            unseen = 0;
            newLines->hide();
        }
    });
}

void EventLog::addLine(const QString& line)
{
    // Scrolled by whole lines: a line put on top pushes the view down by one unless the
    // view follows it.
    const int position = verticalScrollBar()->value();
    auto* item = new QListWidgetItem(line);
    if (fontMetrics().horizontalAdvance(line) > viewport()->width() - 2 * spacing() - 4)
        item->setToolTip(line);
    insertItem(0, item);
    trim();
    if (position == 0)
        return;
    executeDelayedItemsLayout(); // so that the scroll range has room for the new line
    verticalScrollBar()->setValue(position + 1);
    ++unseen;
    newLines->setText(unseen == 1 ? tr("▲ 1 linha nova") : tr("▲ %1 linhas novas").arg(unseen));
    placeNewLinesButton();
    newLines->show();
    newLines->raise();
}

void EventLog::trim()
{
    while (count() > kept)
        delete takeItem(kept);
}

void EventLog::showTop()
{
    scrollToTop();
    unseen = 0;
    newLines->hide();
}

// Over the top right corner of the lines, clear of the scroll bar.
void EventLog::placeNewLinesButton()
{
    newLines->adjustSize();
    const QRect lines = viewport()->geometry();
    newLines->move(lines.right() - newLines->width() - 1, lines.top() + 1);
}
