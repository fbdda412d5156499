#pragma once

// Base of the modal choice dialogs: a list of records, each row carrying its
// key, one of which the user picks (the gesture is the dialog's own: a
// button, a click, a double-click, Enter). The pick keeps what the caller
// will read of the row and closes with OK; without a selected row it says
// "Veuillez sélectionner ..." and the dialog stays open. The close button
// and the window's close box cancel; closing empties the list.
//
// The list is loaded through ChargerListe(), at one moment: when the window
// becomes active (its showing included) and the list is not loaded yet,
// unless the dialog or its caller loaded it before. A dialog whose list
// follows something that may change while it is open reloads it at every
// activation by overriding FormActivate().

#include "ui/common/FicheActivable.h"

#include <QString>

class QAbstractButton;
class QAbstractItemView;
class QModelIndex;
class SuiviClicsListe;

class TFicheChoix : public TFicheActivable
{
    Q_OBJECT

public:
    // Empties the list and fills it again.
    void ChargerListe();

    void done(int resultat) override;

protected:
    explicit TFicheChoix(QWidget* parent);

    // Called once the form is set up.
    void Installer(QAbstractItemView* liste, QAbstractButton* fermer, const QString& messageSansSelection);
    // The list's clicks, double-clicks and Enter, to connect the dialog's
    // gestures to. A pick made on one of its clicks keeps the rest of the
    // gesture from the window behind.
    SuiviClicsListe* Clics() const { return clics; }

    // Fills the empty list; every row carries its key (ObjectCode).
    virtual void RemplirListe() = 0;
    // Keeps what the caller reads of the chosen row (column 0 of it).
    virtual void Retenir(const QModelIndex& ligne) = 0;
    // Loads the list when it is not loaded.
    void FormActivate() override;

    // The pick, to connect the dialog's gestures to.
    void Choisir();

private:
    QAbstractItemView* liste = nullptr;
    SuiviClicsListe* clics = nullptr;
    QString messageSansSelection;
    bool chargee = false;
};
