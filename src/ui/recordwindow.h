#pragma once

#include <QPointer>
#include <QWidget>

class MatchRecord;
class QMessageBox;
class QPushButton;
class QTableWidget;

// "Registo de partidas": the record's table in a small window of its own beside the game, a
// row for each level of the computer and one for other players, with the wins, the losses
// and the mean of the shots fired in the matches won. It follows the record while open.
//
// Not modal, and one at a time: its owner keeps one and shows it again, as with how to play
// (see HelpWindow::present). "Apagar registo" asks first, in a box of its own that does not
// hold up the game, Cancel being the default.
class RecordWindow : public QWidget {
    Q_OBJECT

public:
    // The record (not owned) outlives the window.
    RecordWindow(MatchRecord& record, QWidget* parent);

    // Shows the window kept, made first if there is none yet, in front and active.
    static RecordWindow* present(
        QPointer<RecordWindow>& kept, MatchRecord& record, QWidget* parent);

    QTableWidget* table() const { return grid; }
    QPushButton* eraseButton() const { return erase; }
    // The question before the record is erased, while it is open.
    QMessageBox* question() const { return eraseQuestion; }

private:
    void showRecord();
    void fitTable();
    void askBeforeErasing();

    MatchRecord& record;
    QTableWidget* grid; // child
    QPushButton* erase; // child
    QPointer<QMessageBox> eraseQuestion;
};
