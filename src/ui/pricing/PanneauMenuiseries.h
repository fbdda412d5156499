#pragma once

// The items of the quote and the moves between them: the list (or the
// current item's description), "<" and ">", and the refresh of every price.

#include <QWidget>

class TListeSuivie;
class TModeleMenuiseries;
class TSessionChiffrage;

namespace Ui {
class TFicheModeNormal;
}

class TPanneauMenuiseries : public QWidget
{
    Q_OBJECT

public:
    explicit TPanneauMenuiseries(QWidget* parent);
    void Lier(TSessionChiffrage& session, Ui::TFicheModeNormal& ui);

private:
    TSessionChiffrage* session = nullptr;
    Ui::TFicheModeNormal* ui = nullptr;
    TModeleMenuiseries* modele = nullptr;
    TListeSuivie* liste = nullptr;

    void PreparerListe();
    void AfficherMenuiserie();
    void MajNavigation();
    void MajLibelleMode();
    void FixerLargeurMode();

    void btnPrecedentClick();
    void btnSuivantClick();
    void btnModeClick();
    void btnActualiserClick();
};
