#pragma once

// The quote's totals and margin, "Valider", and the steps the user may
// undo or redo ("Annuler : ajout de la ligne « … »"; Ctrl+Z, and Ctrl+Y or
// Ctrl+Shift+Z).

#include <QFrame>

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

private:
    TSessionChiffrage* session = nullptr;
    Ui::TFicheModeNormal* ui = nullptr;

    void PreparerPile();
    void Annuler();
    void Retablir();
    void AfficherTotaux();
    void AfficherPile();
};
