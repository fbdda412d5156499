#include "ui/common/FicheEdition.h"

#include "data/Enregistrement.h"
#include "ui/common/Fenetre.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"

#include "model/Formats.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QPushButton>

TFicheEdition::TFicheEdition(QWidget* parent)
    : QDialog(parent)
{
}

void TFicheEdition::Installer(QAbstractButton* valider, QAbstractButton* annuler)
{
    Connecter(valider, &QAbstractButton::clicked, this, &TFicheEdition::btnValiderClick);
    Connecter(annuler, &QAbstractButton::clicked, this, &TFicheEdition::btnFermerClick);
    // Enter validates, except on a focused button other than "Valider":
    // that one is pressed instead ("Annuler" must never save).
    if (auto* bouton = qobject_cast<QPushButton*>(valider))
        bouton->setDefault(true);
    if (auto* bouton = qobject_cast<QPushButton*>(annuler))
        bouton->setAutoDefault(true);
    PreparerFenetre(this);
}

void TFicheEdition::btnValiderClick()
{
    if (Enregistrer())
        accept();
}

void TFicheEdition::btnFermerClick()
{
    reject();
}

bool TFicheEdition::Refuser(const QString& message, QWidget* fautif)
{
    Messages::Information(message, this);
    if (fautif)
        fautif->setFocus(Qt::OtherFocusReason);
    return false;
}

std::optional<double> TFicheEdition::MontantSaisi(QLineEdit* edition, const QString& message)
{
    const std::optional<double> montant = LireDecimal(edition->text());
    if (!montant || *montant < 0) {
        Refuser(message, edition);
        return std::nullopt;
    }
    if (!MontantAdmissible(*montant)) {
        Refuser(message + kMontantHorsLimites, edition);
        return std::nullopt;
    }
    return montant;
}

bool TFicheEdition::Conclure(Enregistrement enregistrement, const QString& cetEnregistrement)
{
    switch (enregistrement) {
    case Enregistrement::Fait:
        return true;
    case Enregistrement::ModifieAilleurs:
        Messages::Information(QStringLiteral("Un autre utilisateur a modifié %1 depuis l'ouverture de la fenêtre : "
                                             "vos changements n'ont pas été enregistrés. La fenêtre montre "
                                             "maintenant ce qui est enregistré.")
                                  .arg(cetEnregistrement),
                              this);
        ChargerEnregistrement();
        return false;
    case Enregistrement::SupprimeAilleurs:
        Messages::Information(QStringLiteral("Un autre utilisateur a supprimé %1 : vos changements n'ont pas été "
                                             "enregistrés.")
                                  .arg(cetEnregistrement),
                              this);
        reject();
        return false;
    }
    return false;
}

QString TFicheEdition::LibelleCharge(const QString& libelle) const
{
    return duplication ? libelle + QStringLiteral(" - copie") : libelle;
}

void TFicheEdition::AfficherTexte(QLineEdit* edition, const QString& texte, const QString& champ)
{
    Afficher(edition, texte, texte, champ);
}

void TFicheEdition::AfficherLibelle(QLineEdit* edition, const QString& libelle, const QString& champ)
{
    // Only the stored text counts: a copy whose " - copie" the edit cannot
    // hold whole loses nothing that is stored.
    Afficher(edition, LibelleCharge(libelle), libelle, champ);
}

void TFicheEdition::Afficher(QLineEdit* edition, const QString& texte, const QString& enregistre,
                             const QString& champ)
{
    edition->setText(texte);
    textesEntiers.remove(edition);
    const int limite = edition->maxLength();
    if (enregistre.size() <= limite)
        return;
    if (duplication) {
        textesTropLongs << QStringLiteral("Le texte enregistré %1 dépasse %2 caractères : la copie n'en gardera que "
                                          "les %2 premiers.")
                               .arg(champ)
                               .arg(limite);
        return;
    }
    textesEntiers.insert(edition, texte);
    textesTropLongs << QStringLiteral("Le texte enregistré %1 dépasse %2 caractères : il sera coupé à %2 caractères "
                                      "si vous modifiez ce champ, et gardé entier sinon.")
                           .arg(champ)
                           .arg(limite);
}

QString TFicheEdition::TexteSaisi(const QLineEdit* edition) const
{
    const auto entier = textesEntiers.constFind(edition);
    return entier != textesEntiers.cend() && !edition->isModified() ? *entier : edition->text();
}

bool TFicheEdition::ChargerEnregistrement()
{
    textesEntiers.clear();
    textesTropLongs.clear();
    if (!Proteger(this, [this] { Charger(); }))
        return false;
    if (!textesTropLongs.isEmpty())
        Messages::Information(textesTropLongs.join(QLatin1Char('\n')), this);
    return true;
}

void TFicheEdition::showEvent(QShowEvent* evenement)
{
    QDialog::showEvent(evenement);
    if (charge)
        return;
    charge = true;
    // A record that could not be read must not be saved over with the
    // initial texts: once the error is shown, the window closes with Cancel.
    if (!ChargerEnregistrement()) {
        QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
        return;
    }
    if (duplication)
        cle.clear();
}
