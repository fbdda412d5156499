// The installation lines of the current item: its own installation kind,
// adding, copying, changing and removing lines, and the installer of a line.

#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "model/Tarif.h"
#include "ui/choice/FichePoseurChoix.h"
#include "ui/choice/FicheTarifChoix.h"
#include "ui/common/Messages.h"

#include <QSignalBlocker>

bool TFicheModeNormal::MenuiserieChoisie()
{
    if (MenuiserieCourante)
        return true;
    Messages::Information(QStringLiteral("Vous n'avez pas sélectionné une menuiserie"), this);
    return false;
}

// The line on show, also when its row was unselected (Ctrl+click): -1 when none.
int TFicheModeNormal::IndexTarifCourant() const
{
    if (!MenuiserieCourante || !TarifCourant)
        return -1;
    return MenuiserieCourante->GetTarifs().IndexDe(TarifCourant);
}

void TFicheModeNormal::SelectionnerTarif(int index)
{
    QTreeWidgetItem* ligne = ui->lvCategorie->topLevelItem(index);
    if (!ligne)
        return;
    {
        // The line is made current below, once, whatever the selection was.
        const QSignalBlocker silence(ui->lvCategorie);
        ui->lvCategorie->setCurrentItem(ligne);
    }
    ui->lvCategorie->scrollToItem(ligne);
    lvCategorieChange(index, false);
}

void TFicheModeNormal::AjouterLigneCategorie(int index)
{
    ui->lvCategorie->addTopLevelItem(new QTreeWidgetItem());
    EcrireLigneCategorie(index, MenuiserieCourante->GetTarifs()[index]);
    SelectionnerTarif(index);
}

// ---------------------------------------------------------------------------
// Installation kind of the item

void TFicheModeNormal::lvPoseMenuiserieClick()
{
    if (!MenuiserieChoisie())
        return;
    const std::optional<QString> idPose = ChoisirPose(MenuiserieCourante->GetPose().GetId());
    if (!idPose || !Session.ChoisirPoseMenuiserie(*MenuiserieCourante, *idPose))
        return;
    // Every line took the kind's VAT: the rows show their new amounts.
    AfficherTvaMenuiserie();
    AfficherLignesMenuiserie();
    AfficherTarif();
    EcrireLibelleIcone(ui->lvPoseMenuiserie, MenuiserieCourante->GetPose().GetLibelle());
}

// ---------------------------------------------------------------------------
// Lines

std::optional<TSessionChiffrage::ChoixTarif> TFicheModeNormal::ChoisirTarif(const QString& idTarif)
{
    TFicheTarifChoix choix(this);
    choix.SetMenuiserie(*MenuiserieCourante);
    choix.SetIdTarif(idTarif);
    choix.SetIdPose(MenuiserieCourante->GetPose().GetId());
    if (choix.exec() != QDialog::Accepted)
        return std::nullopt;
    return TSessionChiffrage::ChoixTarif{choix.GetIdTarif(), choix.GetLibelle(), choix.GetPrix()};
}

void TFicheModeNormal::btnAjouterClick()
{
    if (!MenuiserieChoisie())
        return;
    // Without a kind the tariff choice would have nothing to list. The kind
    // chosen stays, whatever happens to the tariff choice.
    if (TSessionChiffrage::PoseMenuiserieAChoisir(*MenuiserieCourante))
        lvPoseMenuiserieClick();
    const std::optional<TSessionChiffrage::ChoixTarif> choix = ChoisirTarif(QString());
    if (choix)
        AjouterLigneCategorie(Session.AjouterTarif(*MenuiserieCourante, *choix));
}

int TFicheModeNormal::TarifChoisi(const QString& action)
{
    if (!MenuiserieChoisie())
        return -1;
    const int index = IndexTarifCourant();
    if (index < 0)
        Messages::Information(QStringLiteral("Vous devez sélectionner un tarif de pose pour pouvoir le %1.").arg(action),
                              this);
    return index;
}

void TFicheModeNormal::btnDupliquerClick()
{
    const int index = TarifChoisi(QStringLiteral("dupliquer"));
    if (index >= 0)
        AjouterLigneCategorie(Session.DupliquerTarif(*MenuiserieCourante, index));
}

void TFicheModeNormal::btnModifierClick()
{
    const int index = TarifChoisi(QStringLiteral("modifier"));
    if (index < 0)
        return;
    const std::optional<TSessionChiffrage::ChoixTarif> choix = ChoisirTarif(TarifCourant->GetId());
    if (!choix)
        return;
    Session.ModifierTarif(*MenuiserieCourante, index, *choix);
    EcrireLigneCategorie(index, *TarifCourant);
    AfficherTotauxMenuiserie();
    AfficherTotaux();
}

void TFicheModeNormal::btnSupprimerClick()
{
    if (!MenuiserieChoisie())
        return;
    const int index = IndexTarifCourant();
    if (index < 0) {
        Messages::Information(
            QStringLiteral("Vous devez sélectionner un tarif de pose pour effectuer une suppression (Index < 0)."), this);
        return;
    }
    if (index >= ui->lvCategorie->topLevelItemCount()) {
        Messages::Information(
            QStringLiteral("Vous devez sélectionner un tarif de pose pour effectuer une suppression (Index >= Count)."),
            this);
        return;
    }
    // The line and its row go together: rows and lines stay aligned.
    TarifCourant = nullptr;
    Session.SupprimerTarif(*MenuiserieCourante, index);
    {
        const QSignalBlocker silence(ui->lvCategorie);
        delete ui->lvCategorie->takeTopLevelItem(index);
    }
    const std::optional<int> suivante =
        TSessionChiffrage::LigneApresSuppression(index, ui->lvCategorie->topLevelItemCount());
    if (suivante) {
        SelectionnerTarif(*suivante);
    } else {
        ui->lvCategorie->clearSelection();
        AfficherTarif();
    }
}

void TFicheModeNormal::btnSupprimerToutClick()
{
    if (!MenuiserieChoisie())
        return;
    TarifCourant = nullptr;
    Session.SupprimerTarifs(*MenuiserieCourante);
    AfficherMenuiserie();
}

// ---------------------------------------------------------------------------
// Installer of the current line

void TFicheModeNormal::btnPoseurClick()
{
    if (!TarifCourant)
        return;
    QString idPoseur;
    {
        TFichePoseurChoix choix(this);
        choix.SetIdPoseur(QString());
        if (choix.exec() != QDialog::Accepted)
            return;
        idPoseur = choix.GetIdPoseur();
    }
    if (idPoseur.isEmpty())
        return;

    const QString nom = Session.AffecterPoseur(*TarifCourant, idPoseur);
    AfficherNomPoseur(nom);
    EcrireLigneCategorie(IndexTarifCourant(), *TarifCourant);
    if (Session.NombreTarifsSansPoseur() > 0
        && Messages::Question(QStringLiteral("Voulez-vous affecter le poseur à tous les tarifs de pose ?"), this)) {
        Session.AffecterPoseurATous(idPoseur, nom);
        AfficherLignesMenuiserie();
    }
    AfficherTotauxMenuiserie();
    AfficherTotaux();
}
