#include "ui/common/Messages.h"

#include <QMessageBox>
#include <QPushButton>

namespace {

EnregistreurMessages* enregistreurActif = nullptr;

const QString kTitre = QStringLiteral("Quarlo");

enum class Boutons { Ok, OuiNon, OuiNonParDefautNon };

bool Afficher(QMessageBox::Icon icone, const QString& texte, QWidget* parent, Boutons boutons)
{
    QMessageBox boite(icone, kTitre, texte, QMessageBox::NoButton, parent);
    // Messages quote labels typed by users: never read them as markup.
    boite.setTextFormat(Qt::PlainText);
    QPushButton* oui = nullptr;
    if (boutons != Boutons::Ok) {
        // Alt+O and Alt+N answer from the keyboard, whichever button has the focus.
        oui = boite.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
        QPushButton* non = boite.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
        boite.setDefaultButton(boutons == Boutons::OuiNonParDefautNon ? non : oui);
        boite.setEscapeButton(non);
    } else {
        QPushButton* ok = boite.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole);
        boite.setDefaultButton(ok);
        boite.setEscapeButton(ok);
    }
    boite.exec();
    return oui != nullptr && boite.clickedButton() == oui;
}

bool Demander(const QString& texte, QWidget* parent, Boutons boutons)
{
    const bool nonParDefaut = boutons == Boutons::OuiNonParDefautNon;
    if (auto* enregistreur = EnregistreurMessages::Actif())
        return enregistreur->Recevoir(Messages::Genre::Question, texte, nonParDefaut);
    return Afficher(QMessageBox::Question, texte, parent, boutons);
}

} // namespace

namespace Messages {

void Information(const QString& texte, QWidget* parent)
{
    if (auto* enregistreur = EnregistreurMessages::Actif()) {
        enregistreur->Recevoir(Genre::Information, texte);
        return;
    }
    Afficher(QMessageBox::Information, texte, parent, Boutons::Ok);
}

bool Question(const QString& texte, QWidget* parent)
{
    return Demander(texte, parent, Boutons::OuiNon);
}

bool QuestionPerte(const QString& texte, QWidget* parent)
{
    return Demander(texte, parent, Boutons::OuiNonParDefautNon);
}

void Erreur(const QString& texte, QWidget* parent)
{
    if (auto* enregistreur = EnregistreurMessages::Actif()) {
        enregistreur->Recevoir(Genre::Erreur, texte);
        return;
    }
    Afficher(QMessageBox::Critical, texte, parent, Boutons::Ok);
}

} // namespace Messages

EnregistreurMessages::EnregistreurMessages()
    : precedent(enregistreurActif)
{
    enregistreurActif = this;
}

EnregistreurMessages::~EnregistreurMessages()
{
    enregistreurActif = precedent;
}

EnregistreurMessages* EnregistreurMessages::Actif()
{
    return enregistreurActif;
}

QStringList EnregistreurMessages::Textes() const
{
    QStringList textes;
    for (const Message& message : recus)
        textes << message.texte;
    return textes;
}

bool EnregistreurMessages::Recevoir(Messages::Genre genre, const QString& texte, bool nonParDefaut)
{
    recus.push_back({genre, texte, nonParDefaut});
    if (genre != Messages::Genre::Question || reponses.empty())
        return false;
    const bool reponse = reponses.front();
    reponses.pop_front();
    return reponse;
}
