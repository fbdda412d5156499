#include "ui/pricing/FicheModeNormal.h"
#include "ui_FicheModeNormal.h"

#include "model/Formats.h"
#include "model/MargeMini.h"
#include "pricing/Reprise.h"
#include "ui/common/DossierProgramme.h"
#include "ui/common/Fenetre.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"
#include "ui/common/Ressources.h"
#include "ui/pricing/Panneaux.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>

namespace {

// A list shrunk to its heading and a row and a half.
constexpr int kHauteurMinimaleListe = 40;

} // namespace

TFicheModeNormal::TFicheModeNormal(QWidget* parent)
    : QDialog(parent)
    , ui(std::make_unique<Ui::TFicheModeNormal>())
    , session(DossierProgramme())
{
    ChargerRessources();
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint
                   | Qt::WindowMaximizeButtonHint | Qt::WindowCloseButtonHint);
    // The system's size where the screen has room; on a smaller screen the
    // lists give up their room first, then the panels scroll. A larger
    // window gives its room to the lists.
    resize(894, 685);
    for (QAbstractScrollArea* liste : {static_cast<QAbstractScrollArea*>(ui->lvListe),
                                       static_cast<QAbstractScrollArea*>(ui->lvCategorie),
                                       static_cast<QAbstractScrollArea*>(ui->memoDescription)})
        liste->setMinimumHeight(kHauteurMinimaleListe);
    PreparerFenetre(this);

    // The minimum margin the administration set; "0" when none.
    session.SetMargeMinimum(LireDecimal(LireMargeMini(DossierProgramme() + kFichierParametresModule)).value_or(0.0));
    PreparerControles();
    ui->pnlPoseDevis->Lier(session, *ui);
    ui->pnlQuincaillerieGlobale->Lier(session, *ui);
    ui->pnlMenuiseries->Lier(session, *ui);
    ui->pnlCategories->Lier(session, *ui);
    ui->Panel1->Lier(session, *ui);
    Connecter(ui->btnValider, &QPushButton::clicked, this, &TFicheModeNormal::btnValiderClick);
}

TFicheModeNormal::~TFicheModeNormal()
{
    // The panels show the session through the form: neither is there once
    // the window goes, and the lists read the quote while painting.
    session.disconnect();
    session.GetPile().disconnect();
    ui->lvCategorie->setModel(nullptr);
    ui->lvListe->setModel(nullptr);
}

void TFicheModeNormal::PreparerControles()
{
    // The form shows the amounts at rest as 0,00: write them in the
    // regional notation.
    const QString zero = FormatMonetaire(0.0);
    for (QLabel* montant : findChildren<QLabel*>()) {
        if (montant->text() == QLatin1String("0,00"))
            montant->setText(zero);
    }
    // No default button: Enter typed in a price or a list must not press
    // "<", ">" or "Valider".
    for (QPushButton* bouton : findChildren<QPushButton*>()) {
        bouton->setAutoDefault(false);
        bouton->setDefault(false);
    }
}

void TFicheModeNormal::keyPressEvent(QKeyEvent* evenement)
{
    // The screen closes only through "Valider" or its close box: Escape would
    // throw away the work of the session.
    if (evenement->key() == Qt::Key_Escape && evenement->modifiers() == Qt::NoModifier) {
        evenement->accept();
        return;
    }
    // Enter presses the button that has the focus, as Space does; typed in
    // an edit or a list it presses nothing.
    const bool entree = evenement->key() == Qt::Key_Return || evenement->key() == Qt::Key_Enter;
    auto* bouton = qobject_cast<QAbstractButton*>(focusWidget());
    if (entree && bouton && !bouton->isCheckable() && (evenement->modifiers() & ~Qt::KeypadModifier) == 0) {
        evenement->accept();
        bouton->click();
        return;
    }
    QDialog::keyPressEvent(evenement);
}

// ---------------------------------------------------------------------------
// First activation

void TFicheModeNormal::showEvent(QShowEvent* evenement)
{
    QDialog::showEvent(evenement);
    // The opening may open the kind choice and message boxes: it runs once
    // the window is up, from the event loop.
    if (premiereActivation && !activationPlanifiee) {
        activationPlanifiee = true;
        QTimer::singleShot(0, this, [this] { Proteger(this, [this] { FormActivate(); }); });
    }
}

void TFicheModeNormal::FormActivate()
{
    if (!premiereActivation || !isVisible())
        return;
    // Cleared first: the dialogs opened below must not start it again.
    premiereActivation = false;

    ui->pnlCategories->RemplirCombosTva();
    try {
        session.Ouvrir(Interlocuteur());
    } catch (const std::exception& erreur) {
        AbandonnerChargement(TexteErreur(erreur));
        return;
    }
    AjusterAuContenu(this);
    // Ready: the keyboard starts on the items.
    ui->lvListe->setFocus();
}

TSessionChiffrage::Interlocuteur TFicheModeNormal::Interlocuteur()
{
    TSessionChiffrage::Interlocuteur interlocuteur;
    interlocuteur.signalerArchive = [this](const QString& message) { Messages::Erreur(message, this); };
    interlocuteur.choisirPose = [this](const QString& idPose) { return ChoisirPose(this, idPose); };
    interlocuteur.signalerReprise = [this](const QString& message) {
        Messages::Erreur(message + QStringLiteral("\n\nLe devis est ouvert tel que l'hôte l'a écrit ; "
                                                  "ce fichier est laissé dans le dossier Xml."),
                         this);
    };
    // Taking it back loses nothing: "Oui" is the default.
    interlocuteur.reprendre = [this](const QString& question) { return Messages::Question(question, this); };
    return interlocuteur;
}

void TFicheModeNormal::AbandonnerChargement(const QString& probleme)
{
    // Nothing of a half-read quote may reach "Valider": the screen closes
    // and the host's file stays as it was.
    Messages::Erreur(MessageLecture(session.GetFichierEchange(), probleme)
                         + QStringLiteral("\n\nLe chiffrage est abandonné ; le fichier n'a pas été modifié."),
                     this);
    QTimer::singleShot(0, this, &QDialog::reject);
}

// ---------------------------------------------------------------------------
// The end

bool TFicheModeNormal::ValiderSaisies()
{
    // A VAT the user moved to with the keyboard, not yet acted on.
    ui->cmbTVA->Valider();
    ui->cbTvaMenuiserie->Valider();
    return ui->pnlPoseDevis->ValiderSaisies();
}

void TFicheModeNormal::btnValiderClick()
{
    if (!ValiderSaisies())
        return;
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
    session.Terminer();
    if (!messageArchive.isEmpty())
        Messages::Erreur(messageArchive + QStringLiteral("\n\nLa réponse a bien été enregistrée."), this);
    accept();
}

void TFicheModeNormal::done(int resultat)
{
    // Closed without "Valider", the work of the session would be lost.
    const QString question = QStringLiteral("Le chiffrage a été modifié et n'a pas été validé.\n"
                                            "Voulez-vous fermer sans enregistrer ? Les modifications seront perdues.");
    if (resultat != QDialog::Accepted) {
        if (!ValiderSaisies())
            return;
        if (session.EstModifie() && !Messages::QuestionPerte(question, this))
            return;
        session.Terminer();
    }
    FormClose();
    QDialog::done(resultat);
}

void TFicheModeNormal::FormClose()
{
    // Closing writes nothing: only "Valider" answers the host.
    ui->lvPose->clear();
    session.Vider();
}
