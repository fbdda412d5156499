// The hardware of the current line and of the quote, the refresh of every
// price from the database, and "Valider", which answers the host.

#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "model/Tarif.h"
#include "ui/choice/FicheQuincaillerieDetail.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"

void TFicheModeNormal::cbQuincaillerieClick()
{
    const int tarif = session.GetIndexTarif();
    if (tarif >= 0)
        session.SetQuincaillerieIncluse(session.GetIndexMenuiserie(), tarif, ui->cbQuincaillerie->isChecked());
}

void TFicheModeNormal::btnQuincaillerieClick()
{
    const int tarif = session.GetIndexTarif();
    if (tarif < 0)
        return;
    // The dialog edits a copy and sees the current item only.
    TFicheQuincaillerieDetail detail(this);
    detail.SetMenuiseries(*session.MenuiserieCourante());
    detail.SetQuincailleries(session.TarifCourant()->GetQuincailleries());
    detail.exec();
    session.RemplacerQuincailleries(session.GetIndexMenuiserie(), tarif, detail.GetQuincailleries());
}

void TFicheModeNormal::btnQuincailleriesGlobalesClick()
{
    TFicheQuincaillerieDetail detail(this);
    detail.SetMenuiseries(session.GetMenuiseries());
    detail.SetQuincailleries(session.GetQuincailleriesGlobales());
    detail.exec();
    session.RemplacerQuincailleriesGlobales(detail.GetQuincailleries());
}

namespace {

QString MessageActualisation(const TSessionChiffrage::Actualisation& changes)
{
    if (changes.prixVente == 0 && changes.prixPoseur == 0 && changes.quincailleries == 0)
        return QStringLiteral("Actualisation terminée : aucun prix n'a changé.");
    return QStringLiteral("Actualisation terminée : %1 prix de vente, %2 prix de poseur et %3 %4 ont changé.")
        .arg(changes.prixVente)
        .arg(changes.prixPoseur)
        .arg(changes.quincailleries)
        .arg(changes.quincailleries > 1 ? QStringLiteral("quincailleries") : QStringLiteral("quincaillerie"));
}

} // namespace

void TFicheModeNormal::btnActualiserClick()
{
    if (Messages::Question(QStringLiteral("Voulez-vous actualiser tous les prix des tarifs ?"), this))
        Messages::Information(MessageActualisation(session.ActualiserPrix()), this);
}

void TFicheModeNormal::btnValiderClick()
{
    QString messageArchive;
    try {
        messageArchive = session.EcrireReponse();
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
