// The installation lines of the current item: its own installation kind,
// adding, copying, changing and removing lines, and the installer of a line.

#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "model/Tarif.h"
#include "ui/choice/FichePoseurChoix.h"
#include "ui/choice/FicheTarifChoix.h"
#include "ui/common/Messages.h"

int TFicheModeNormal::MenuiserieChoisie()
{
    const int index = session.GetIndexMenuiserie();
    if (index < 0)
        Messages::Information(QStringLiteral("Vous n'avez pas sélectionné une menuiserie"), this);
    return index;
}

int TFicheModeNormal::TarifChoisi(const QString& action)
{
    if (MenuiserieChoisie() < 0)
        return -1;
    // A line unselected (Ctrl+click) stays on show, but is not acted on.
    const int index = LigneSelectionnee();
    if (index < 0)
        Messages::Information(QStringLiteral("Vous devez sélectionner un tarif de pose pour pouvoir le %1.").arg(action),
                              this);
    return index;
}

// ---------------------------------------------------------------------------
// Installation kind of the item

void TFicheModeNormal::lvPoseMenuiserieClick()
{
    const int menuiserie = MenuiserieChoisie();
    if (menuiserie < 0)
        return;
    if (const std::optional<QString> idPose = ChoisirPose(session.MenuiserieCourante()->GetPose().GetId()))
        session.ChoisirPoseMenuiserie(menuiserie, *idPose);
}

// ---------------------------------------------------------------------------
// Lines

std::optional<TSessionChiffrage::ChoixTarif> TFicheModeNormal::ChoisirTarif(const QString& idTarif)
{
    const TMenuiserie& menuiserie = *session.MenuiserieCourante();
    TFicheTarifChoix choix(this);
    choix.SetMenuiserie(menuiserie);
    choix.SetIdTarif(idTarif);
    choix.SetIdPose(menuiserie.GetPose().GetId());
    if (choix.exec() != QDialog::Accepted)
        return std::nullopt;
    return TSessionChiffrage::ChoixTarif{choix.GetIdTarif(), choix.GetLibelle(), choix.GetPrix()};
}

void TFicheModeNormal::btnAjouterClick()
{
    const int menuiserie = MenuiserieChoisie();
    if (menuiserie < 0)
        return;
    // Without a kind the tariff choice would have nothing to list. The kind
    // chosen stays, whatever happens to the tariff choice.
    if (session.MenuiserieCourante()->PoseAChoisir())
        lvPoseMenuiserieClick();
    if (const std::optional<TSessionChiffrage::ChoixTarif> choix = ChoisirTarif(QString()))
        session.AjouterTarif(menuiserie, *choix);
}

void TFicheModeNormal::btnDupliquerClick()
{
    const int tarif = TarifChoisi(QStringLiteral("dupliquer"));
    if (tarif >= 0)
        session.DupliquerTarif(session.GetIndexMenuiserie(), tarif);
}

void TFicheModeNormal::btnModifierClick()
{
    const int tarif = TarifChoisi(QStringLiteral("modifier"));
    if (tarif < 0)
        return;
    if (const std::optional<TSessionChiffrage::ChoixTarif> choix = ChoisirTarif(session.TarifCourant()->GetId()))
        session.ModifierTarif(session.GetIndexMenuiserie(), tarif, *choix);
}

void TFicheModeNormal::btnSupprimerClick()
{
    const int menuiserie = MenuiserieChoisie();
    if (menuiserie < 0)
        return;
    const int tarif = LigneSelectionnee();
    if (tarif < 0) {
        Messages::Information(
            QStringLiteral("Vous devez sélectionner un tarif de pose pour effectuer une suppression (Index < 0)."), this);
        return;
    }
    session.SupprimerTarif(menuiserie, tarif);
}

void TFicheModeNormal::btnSupprimerToutClick()
{
    const int menuiserie = MenuiserieChoisie();
    if (menuiserie < 0 || session.MenuiserieCourante()->GetTarifs().EstVide())
        return;
    const QString question =
        QStringLiteral("Etes-vous sûr de vouloir supprimer toutes les lignes de pose de cette menuiserie ?");
    if (Messages::QuestionPerte(question, this))
        session.SupprimerTarifs(menuiserie);
}

// ---------------------------------------------------------------------------
// Installer of the current line

void TFicheModeNormal::btnPoseurClick()
{
    const int tarif = session.GetIndexTarif();
    if (tarif < 0)
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

    const QString nom = session.AffecterPoseur(session.GetIndexMenuiserie(), tarif, idPoseur);
    if (session.NombreTarifsSansPoseur() > 0
        && Messages::Question(QStringLiteral("Voulez-vous affecter le poseur à tous les tarifs de pose ?"), this))
        session.AffecterPoseurATous(idPoseur, nom);
}
