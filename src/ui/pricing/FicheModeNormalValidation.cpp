// The hardware of the current line and of the quote, the refresh of every
// price from the database, and "Valider", which answers the host.

#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "model/Menuiserie.h"
#include "model/Tarif.h"
#include "ui/choice/FicheQuincaillerieDetail.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"

void TFicheModeNormal::cbQuincaillerieClick()
{
    if (TarifCourant)
        TarifCourant->SetQuincaillerieIncluse(ui->cbQuincaillerie->isChecked());
    AfficherTotauxMenuiserie();
    AfficherTotaux();
}

void TFicheModeNormal::btnQuincaillerieClick()
{
    if (!TarifCourant || !MenuiserieCourante)
        return;
    // The dialog sees the current item only; the item stays the quote's.
    TFicheQuincaillerieDetail detail(this);
    detail.SetMenuiseries(*MenuiserieCourante);
    detail.SetQuincailleries(&TarifCourant->GetQuincailleries());
    detail.exec();
    AfficherQuincaillerieTarif();
    AfficherTotauxMenuiserie();
    AfficherTotaux();
}

void TFicheModeNormal::btnQuincailleriesGlobalesClick()
{
    TFicheQuincaillerieDetail detail(this);
    detail.SetMenuiseries(Session.GetMenuiseries());
    detail.SetQuincailleries(&Session.GetQuincailleriesGlobales());
    detail.exec();
    AfficherQuincailleriesGlobales();
    AfficherTotaux();
}

void TFicheModeNormal::btnActualiserClick()
{
    if (!Messages::Question(QStringLiteral("Voulez-vous actualiser tous les prix des tarifs ?"), this))
        return;
    Session.ActualiserPrix();
    if (MenuiserieCourante)
        AfficherLignesMenuiserie();
    AfficherQuincaillerieTarif();
    AfficherQuincailleriesGlobales();
    AfficherTotauxMenuiserie();
    AfficherTotaux();
    // The red signal is drawn again from the new prices.
    ui->lvListe->viewport()->update();
    ui->lvCategorie->viewport()->update();
}

void TFicheModeNormal::btnValiderClick()
{
    QString messageArchive;
    try {
        messageArchive = Session.EcrireReponse();
    } catch (const std::exception& erreur) {
        // The host's file is the old one or the whole new one, never a part:
        // the user keeps everything entered and may try again.
        Messages::Erreur(QStringLiteral("La réponse n'a pas été enregistrée.\n%1\n\n"
                                        "Le chiffrage reste ouvert : rien de ce qui a été saisi n'est perdu.")
                             .arg(TexteErreur(erreur)),
                         this);
        return;
    }
    if (!messageArchive.isEmpty())
        Messages::Erreur(messageArchive + QStringLiteral("\n\nLa réponse a bien été enregistrée."), this);
    accept();
}
