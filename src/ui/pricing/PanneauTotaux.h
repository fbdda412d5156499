#pragma once

// The quote's totals and margin, "Valider", the steps the user may undo or
// redo ("Annuler : ajout de la ligne « … »"; Ctrl+Z, and Ctrl+Y or
// Ctrl+Shift+Z), and what is probably left to do, from which a click or F8
// goes to the next item or line to look at.

#include <QFrame>
#include <QString>

class QLabel;
class TSessionChiffrage;

namespace Ui {
class TFicheModeNormal;
}

class TPanneauTotaux : public QFrame
{
    Q_OBJECT

public:
    explicit TPanneauTotaux(QWidget* parent);
    void Lier(TSessionChiffrage& session, Ui::TFicheModeNormal& ui);

    // The next item without line, or line left to look at, becomes current.
    void AllerAuSuivant();

protected:
    bool eventFilter(QObject* objet, QEvent* evenement) override;

private:
    TSessionChiffrage* session = nullptr;
    Ui::TFicheModeNormal* ui = nullptr;
    // Its own, for the events it still gets while the window goes.
    QLabel* etiquetteReste = nullptr;
    QString reste;
    bool restePlanifie = false;

    void PreparerPile();
    void Annuler();
    void Retablir();
    void AfficherTotaux();
    void AfficherPile();
    void PlanifierReste();
    void AfficherReste();
    void EcrireReste();
};
