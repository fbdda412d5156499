#pragma once

// The current item and its installation lines: the item's VAT and kind, its
// totals and margin, the lines (added, copied, changed, removed), and the
// current line's installer, VAT and hardware.

#include "pricing/SessionChiffrage.h"

#include <QFrame>
#include <optional>

class TListeSuivie;

namespace Ui {
class TFicheModeNormal;
}

class TPanneauLignes : public QFrame
{
    Q_OBJECT

public:
    explicit TPanneauLignes(QWidget* parent);
    void Lier(TSessionChiffrage& session, Ui::TFicheModeNormal& ui);

    // The VAT lists take the host's VAT types (at the opening).
    void RemplirCombosTva();

private:
    TSessionChiffrage* session = nullptr;
    Ui::TFicheModeNormal* ui = nullptr;
    TListeSuivie* liste = nullptr;

    void PreparerListe();
    void ConnecterActions();
    void SuivreSession();

    // What the session says.
    void AfficherMenuiserie();
    void AfficherTarif();
    void AfficherMontants();
    void AfficherNomPoseur(const QString& nom);

    // The user's actions.
    void lvPoseMenuiserieClick();
    void btnAjouterClick();
    void btnDupliquerClick();
    void btnModifierClick();
    void btnSupprimerClick();
    void btnSupprimerToutClick();
    void btnPoseurClick();
    void cmbTVAChange();
    void cbTvaMenuiserieChange();
    void cbQuincaillerieClick();
    void btnQuincaillerieClick();

    // The current item's index, for an action on it; -1, the user told,
    // without one.
    int MenuiserieChoisie();
    // The selected line's index, for an action on it; -1, the user told,
    // without one.
    int TarifChoisi(const QString& action);
    // The line whose row is selected; -1 when none is (a line may be on
    // show with its row unselected).
    int LigneSelectionnee() const;
    std::optional<TSessionChiffrage::ChoixTarif> ChoisirTarif(const QString& idTarif);
    TSessionChiffrage::Question Question();
};
