#pragma once

// A drop-down list whose choice is acted on once the user has made it, not
// at each entry he passes: an entry taken in the open list (a click, Enter)
// is chosen at once; the arrow keys, the letters and the wheel (while the
// list has the focus) only move through the entries, and the entry reached
// is chosen on Enter or when the focus leaves the list. Escape goes back to
// the entry the list showed before the user moved. An entry the program
// selects is never a choice, and ends any pending one.

#include <QComboBox>
#include <optional>

class TComboValidee : public QComboBox
{
    Q_OBJECT

public:
    explicit TComboValidee(QWidget* parent = nullptr);

    // True while the user has moved to an entry he has not chosen yet.
    bool ChoixEnAttente() const { return depart.has_value(); }
    // Chooses the entry the user moved to, if any (before the window acts on
    // what it shows).
    void Valider();

signals:
    // The user's choice of the entry at that index.
    void Choisie(int index);

protected:
    void keyPressEvent(QKeyEvent* evenement) override;
    void wheelEvent(QWheelEvent* evenement) override;
    void focusOutEvent(QFocusEvent* evenement) override;

private:
    // The entry shown before the user started moving; nothing with no
    // choice pending.
    std::optional<int> depart;
    // The entry shown before the event being handled, while the user moves.
    int avantDeplacement = -1;
    bool deplacement = false;

    void Activee(int index);
};
