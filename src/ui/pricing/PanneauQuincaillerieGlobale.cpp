#include "ui/pricing/PanneauQuincaillerieGlobale.h"
#include "ui_FicheModeNormal.h"

#include "pricing/SessionChiffrage.h"
#include "ui/choice/FicheQuincaillerieDetail.h"
#include "ui/common/Protection.h"
#include "ui/pricing/Panneaux.h"

TPanneauQuincaillerieGlobale::TPanneauQuincaillerieGlobale(QWidget* parent)
    : QGroupBox(parent)
{
}

void TPanneauQuincaillerieGlobale::Lier(TSessionChiffrage& session, Ui::TFicheModeNormal& ui)
{
    this->session = &session;
    this->ui = &ui;
    Afficher();
    Connecter(ui.btnQuincailleriesGlobales, &QToolButton::clicked, this,
              &TPanneauQuincaillerieGlobale::btnQuincailleriesGlobalesClick);
    connect(&session, &TSessionChiffrage::DevisRecharge, this, &TPanneauQuincaillerieGlobale::Afficher);
    connect(&session, &TSessionChiffrage::QuincailleriesGlobalesChangees, this, &TPanneauQuincaillerieGlobale::Afficher);
}

void TPanneauQuincaillerieGlobale::Afficher()
{
    AfficherMontants(MontantsQuincaillerie(session->GetQuincailleriesGlobales()), ui->lblQuincailleriesGlobalesAchat,
                     ui->lblQuincailleriesGlobalesHt, ui->lblQuincailleriesGlobalesTva, ui->lblQuincailleriesGlobalesTtc);
}

void TPanneauQuincaillerieGlobale::btnQuincailleriesGlobalesClick()
{
    // The dialog edits a copy and sees every item; what it leaves is one
    // step, none when it changed nothing.
    TFicheQuincaillerieDetail detail(window());
    detail.SetMenuiseries(session->GetMenuiseries());
    detail.SetQuincailleries(session->GetQuincailleriesGlobales());
    detail.exec();
    session->RemplacerQuincailleriesGlobales(detail.GetQuincailleries());
}
