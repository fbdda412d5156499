#pragma once

// The pricing screen of the CREATION and MAJ modes: the items of the host's
// quote, their installation lines, the quote's default installation kind
// with its delivery surcharges, the VAT of lines and items, and every total.
// It shows the pricing session, its document, and forwards the user's
// actions to it: each kind of change the session announces is shown in one
// place. The session is opened at the first activation; only "Valider"
// writes.

#include "pricing/SessionChiffrage.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QString>
#include <memory>
#include <optional>

class QCheckBox;
class QLineEdit;
class QListWidget;
class QTreeView;
class TModeleMenuiseries;
class TModeleTarifs;

namespace Ui {
class TFicheModeNormal;
}

class TFicheModeNormal : public QDialog
{
    Q_OBJECT

public:
    using OptionLivraison = TPoseLivraison::OptionLivraison;

    explicit TFicheModeNormal(QWidget* parent);
    ~TFicheModeNormal() override;

    void SetFichierEchange(const QString& fichier) { session.SetFichierEchange(fichier); }
    const QString& GetFichierEchange() const { return session.GetFichierEchange(); }

    // What the screen shows, read by the host's launcher and by tests.
    const TSessionChiffrage& GetSession() const { return session; }
    bool GetPremiereActivation() const { return premiereActivation; }

    void done(int resultat) override;

protected:
    void showEvent(QShowEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    std::unique_ptr<Ui::TFicheModeNormal> ui;

    TSessionChiffrage session;
    TModeleMenuiseries* modeleMenuiseries;
    TModeleTarifs* modeleTarifs;
    bool premiereActivation = true;
    bool activationPlanifiee = false;
    // The list whose selection is changing, by the user or by the screen
    // making it follow the session: its own changes are not shown back to
    // it, and the screen's are not taken for the user's.
    QTreeView* listeDeLUtilisateur = nullptr;
    // 32 x 32 images of the two kind icons and of the kind choice.
    QList<QIcon> imgListe;

    // Construction.
    void PreparerControles();
    void PreparerListes();
    static void EcrireLibelleIcone(QListWidget* icone, const QString& libelle);
    void ConnecterEvenements();
    void SuivreSession();

    // First activation.
    void FormActivate();
    void RemplirCombosTva();
    void AbandonnerChargement(const QString& probleme);

    // What the session announces, shown.
    void AfficherDevis();
    void AfficherPoseGlobale();
    void AfficherOptionsLivraison();
    void AfficherMenuiserie();
    void AfficherTarif();
    void AfficherMontants();
    void AfficherTvaMenuiserie();
    void AfficherNomPoseur(const QString& nom);
    void MajNavigation();
    void SelectionnerRang(QTreeView* liste, int rang);

    // The user's moves in the lists and between the items.
    void lvListeChange();
    void lvCategorieChange();
    void btnPrecedentClick();
    void btnSuivantClick();
    void btnModeClick();
    void MajLibelleMode();
    void FixerLargeurMode();
    void FormClose();

    // Amounts (FicheModeNormalTotaux.cpp).
    void AfficherQuincaillerieTarif();
    void AfficherQuincailleriesGlobales();
    void AfficherTotauxMenuiserie();
    void AfficherTotaux();

    // Default installation kind, delivery and VAT (FicheModeNormalLivraison.cpp).
    // The kind choice preset on a kind; nothing unless the user chose one.
    std::optional<QString> ChoisirPose(const QString& idPose);
    void lvPoseClick();
    void AfficherPrixLivraison();
    void cbLivraisonClick();
    void cbOptionLivraisonClick(OptionLivraison option);
    void edtLivraisonChange(OptionLivraison option);
    void edtLivraisonExit(OptionLivraison option);
    void cbPriseDeCoteClick();
    void cmbTVAChange();
    void cbTvaMenuiserieChange();
    QCheckBox* CaseLivraison(OptionLivraison option) const;
    QLineEdit* EditLivraison(OptionLivraison option) const;

    // Lines of the current item and their installer (FicheModeNormalLignes.cpp).
    void lvPoseMenuiserieClick();
    void btnAjouterClick();
    void btnDupliquerClick();
    void btnModifierClick();
    void btnSupprimerClick();
    void btnSupprimerToutClick();
    void btnPoseurClick();
    // The current item's index, for an action on it; -1, the user told,
    // without one.
    int MenuiserieChoisie();
    // The current line's index, for an action on it; -1, the user told,
    // without one.
    int TarifChoisi(const QString& action);
    // The line whose row is selected; -1 when none is (a line may be on
    // show with its row unselected).
    int LigneSelectionnee() const;
    std::optional<TSessionChiffrage::ChoixTarif> ChoisirTarif(const QString& idTarif);

    // Hardware, price refresh and the answer (FicheModeNormalValidation.cpp).
    void cbQuincaillerieClick();
    void btnQuincaillerieClick();
    void btnQuincailleriesGlobalesClick();
    void btnActualiserClick();
    void btnValiderClick();
};
