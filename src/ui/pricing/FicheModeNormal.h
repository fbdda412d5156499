#pragma once

// The pricing screen of the CREATION and MAJ modes: the items of the host's
// quote, their installation lines, the quote's default installation kind
// with its delivery surcharges, the VAT of lines and items, and every total.
// It shows the pricing session and forwards the user's actions to it; the
// session reads the exchange file at the first activation. Only "Valider"
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
class TTarif;

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

    void SetFichierConfig(const QString& fichier) { FichierConfig = fichier; }
    void SetFichierEchange(const QString& fichier) { Session.SetFichierEchange(fichier); }
    const QString& GetFichierConfig() const { return FichierConfig; }
    const QString& GetFichierEchange() const { return Session.GetFichierEchange(); }

    // The state of the screen, read by the host's launcher and by tests.
    const QString& GetDossierXml() const { return Session.GetDossierXml(); }
    const QString& GetPrefixeHorodate() const { return Session.GetPrefixeHorodate(); }
    bool GetPremiereActivation() const { return PremiereActivation; }
    const TPoseLivraison& GetPoseGlobale() const { return Session.GetPoseGlobale(); }
    TMenuiseries& GetMenuiseries() { return Session.GetMenuiseries(); }
    const TQuincailleries& GetQuincailleriesGlobales() const { return Session.GetQuincailleriesGlobales(); }
    TMenuiserie* GetMenuiserieCourante() const { return MenuiserieCourante; }
    TTarif* GetTarifCourant() const { return TarifCourant; }

    // Index of the current line after a state change of row `index` of the
    // line list: a row being deleted hands over to the row before it when
    // the list holds at least two rows; no index otherwise.
    static std::optional<int> IndexLigneCourante(int index, bool ligneSupprimee, int nombreLignes);

    void done(int resultat) override;

protected:
    void showEvent(QShowEvent* evenement) override;
    void keyPressEvent(QKeyEvent* evenement) override;

private:
    std::unique_ptr<Ui::TFicheModeNormal> ui;

    QString FichierConfig;
    TSessionChiffrage Session;
    TMenuiserie* MenuiserieCourante = nullptr;
    TTarif* TarifCourant = nullptr;
    bool PremiereActivation = true;
    bool activationPlanifiee = false;
    // 32 x 32 images of the two kind icons and of the kind choice.
    QList<QIcon> imgListe;

    // Construction.
    void PreparerControles();
    void PreparerListes();
    static void EcrireLibelleIcone(QListWidget* icone, const QString& libelle);
    void ConnecterEvenements();

    // First activation and loading.
    void FormActivate();
    void RemplirCombosTva();
    void ChargerFichierEchange();
    void AfficherPoseGlobale();
    void RemplirListeMenuiseries();
    void AbandonnerChargement(const QString& probleme);

    // Display of the current item and line.
    void lvListeChange();
    void MajNavigation();
    int IndexMenuiserieSelectionnee() const;
    void btnPrecedentClick();
    void btnSuivantClick();
    void AfficherMenuiserie();
    void lvCategorieSelectionChange();
    void lvCategorieChange(int index, bool ligneSupprimee);
    void AfficherTarif();
    void AfficherNomPoseur(const QString& nom);
    int RangLigneCourante() const;
    void EcrireLigneCategorie(int index, const TTarif& tarif);
    void AfficherLignesMenuiserie();
    void EcrireMontantsVente(int index, const TTarif& tarif);
    void btnModeClick();
    void MajLibelleMode();
    void FixerLargeurMode();
    void FormClose();

    // Amounts (FicheModeNormalTotaux.cpp).
    void AfficherQuincaillerieTarif();
    void AfficherQuincailleriesGlobales();
    void AfficherTotauxMenuiserie();
    void AfficherTotaux();
    bool MenuiserieEnEcart(int ligne) const;
    bool LigneEnEcart(int ligne) const;

    // Default installation kind, delivery and VAT (FicheModeNormalLivraison.cpp).
    // The kind choice preset on a kind; nothing unless the user chose one.
    std::optional<QString> ChoisirPose(const QString& idPose);
    void lvPoseClick();
    void AfficherOptionsLivraison();
    void AfficherPrixLivraison();
    void cbLivraisonClick();
    void cbOptionLivraisonClick(OptionLivraison option);
    void edtLivraisonChange(OptionLivraison option);
    void cbPriseDeCoteClick();
    void cmbTVAChange();
    void cbTvaMenuiserieChange();
    void AfficherTvaMenuiserie();
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
    bool MenuiserieChoisie();
    // The current line's index, for an action on it; -1, the user told,
    // without one.
    int TarifChoisi(const QString& action);
    std::optional<TSessionChiffrage::ChoixTarif> ChoisirTarif(const QString& idTarif);
    int IndexTarifCourant() const;
    void AjouterLigneCategorie(int index);
    void SelectionnerTarif(int index);

    // Hardware, price refresh and the answer (FicheModeNormalValidation.cpp).
    void cbQuincaillerieClick();
    void btnQuincaillerieClick();
    void btnQuincailleriesGlobalesClick();
    void btnActualiserClick();
    void btnValiderClick();
};
