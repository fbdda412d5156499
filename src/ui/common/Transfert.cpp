#include "ui/common/Transfert.h"

#include "model/LigneCsv.h"
#include "ui/common/ChoixFichier.h"
#include "ui/common/Messages.h"
#include "ui/common/Ressources.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QSaveFile>
#include <QWidget>
#include <algorithm>

namespace {

const QString kFiltre = QStringLiteral("Fichier export (.csv) (*.csv)");
const QString kExtension = QStringLiteral(".csv");
// Often enough for the bar to move smoothly, rarely enough to cost nothing.
constexpr int kIntervalleAffichageMs = 40;

// The characters of a value a message quotes.
constexpr int kLongueurCitee = 60;

// The text of a written line, as a message quotes it.
QString TexteLigne(const QStringList& champs)
{
    return QString::fromUtf8(LigneCsv(champs, EncodageCsv::Utf8)).chopped(2);
}

QString Citation(const QString& valeur)
{
    return valeur.size() <= kLongueurCitee ? valeur : valeur.left(kLongueurCitee) + QStringLiteral("…");
}

QString AvecTexteSysteme(const QString& phrase, const QFileDevice& fichier)
{
    return phrase + QLatin1Char('\n') + fichier.errorString();
}

} // namespace

Progression::Progression(QProgressBar* barre, int total)
    : barre(barre)
{
    barre->setRange(0, std::max(total, 1));
    barre->setValue(0);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    Afficher();
}

Progression::~Progression()
{
    QApplication::restoreOverrideCursor();
}

void Progression::Avancer(int faites)
{
    if (depuisAffichage.elapsed() < kIntervalleAffichageMs)
        return;
    barre->setValue(std::min(faites, barre->maximum()));
    Afficher();
}

void Progression::Terminer()
{
    barre->setValue(barre->maximum());
    Afficher();
}

void Progression::Afficher()
{
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    depuisAffichage.start();
}

void Indicateurs::Installer() const
{
    ChargerRessources();
    coche->setPixmap(QPixmap(QStringLiteral(":/icons/coche.png")));
    coche->setFixedSize(32, 32);
    // The buttons beside it stay in place whether it shows or not.
    QSizePolicy place = coche->sizePolicy();
    place.setRetainSizeWhenHidden(true);
    coche->setSizePolicy(place);
    Preparer();
}

void Indicateurs::Preparer() const
{
    coche->hide();
    barre->setRange(0, 1);
    barre->setValue(0);
}

namespace Transfert {

bool Exporter(QWidget* fenetre, const Indicateurs& indicateurs, const QString& nomPropose,
              const QStringList& entete, const std::function<QVector<QStringList>()>& lignes)
{
    indicateurs.Preparer();
    const QString nom = ChoixFichier::Enregistrer(fenetre, QStringLiteral("Sélection du fichier où exporter"),
                                                  QString(), nomPropose, kFiltre, kExtension);
    if (nom.isEmpty())
        return false;

    QSaveFile fichier(nom);
    if (!fichier.open(QIODevice::WriteOnly)) {
        Messages::Information(
            AvecTexteSysteme(QStringLiteral("Exportation - Une erreur est survenue pendant la création du fichier."),
                             fichier),
            fenetre);
        return false;
    }
    QString derniere = QStringLiteral("EN-TETE");
    const auto echecEcriture = [&] {
        const QString phrase =
            QStringLiteral("Exportation - Une erreur est survenue pendant l'écriture du fichier : ") + derniere;
        Messages::Information(AvecTexteSysteme(phrase, fichier), fenetre);
        fichier.cancelWriting();
        return false;
    };

    QVector<QStringList> aEcrire = lignes();
    aEcrire.prepend(entete);
    const ChoixEncodage choix = EncodageLisible(aEcrire);
    const QByteArray enTete =
        (choix.encodage == EncodageCsv::Utf8 ? kMarqueUtf8 : QByteArray()) + LigneCsv(entete, choix.encodage);
    if (fichier.write(enTete) != enTete.size())
        return echecEcriture();

    Progression progression(indicateurs.barre, aEcrire.size() - 1);
    for (int i = 1; i < aEcrire.size(); ++i) {
        const QByteArray ligne = LigneCsv(aEcrire[i], choix.encodage);
        derniere = TexteLigne(aEcrire[i]);
        if (fichier.write(ligne) != ligne.size())
            return echecEcriture();
        progression.Avancer(i);
    }
    // Written lines may still wait in a buffer: a disk that fills up shows
    // here, and the last line is the one named.
    if (!fichier.commit())
        return echecEcriture();
    progression.Terminer();
    indicateurs.coche->show();
    const QString ecrit =
        choix.encodage == EncodageCsv::Utf8
            ? QStringLiteral("Exportation - La valeur « %1 » ne se relirait pas en Windows-1252 : le fichier a été "
                             "écrit en UTF-8, avec la marque qui l'annonce aux tableurs.")
                  .arg(Citation(choix.exemple))
            : QStringLiteral("Exportation - Le fichier a été écrit : %1").arg(nom);
    // A spreadsheet left to its defaults reads codes such as 00123 or 1E5
    // as numbers, and saves them back changed.
    Messages::Information(ecrit + QStringLiteral("\nPour le modifier dans un tableur, ouvrez-le avec les champs entre "
                                                 "guillemets comme texte : sinon des codes tels que 00123 ou 1E5 "
                                                 "deviennent des nombres et reviennent changés."),
                          fenetre);
    return true;
}

std::optional<QByteArray> LireFichier(QWidget* fenetre, const QString& titre, const QString& nomPropose)
{
    const QString nom = ChoixFichier::Ouvrir(fenetre, titre, QString(), nomPropose, kFiltre, kExtension);
    if (nom.isEmpty())
        return std::nullopt;
    if (!QFile::exists(nom)) {
        Messages::Information(QStringLiteral("Importation - Le fichier d'importation n'existe pas : ") + nom,
                              fenetre);
        return std::nullopt;
    }
    QFile fichier(nom);
    QByteArray octets;
    if (fichier.open(QIODevice::ReadOnly))
        octets = fichier.readAll();
    if (!fichier.isOpen() || fichier.error() != QFileDevice::NoError) {
        Messages::Information(
            AvecTexteSysteme(QStringLiteral("Importation - Une erreur est survenue pendant l'ouverture du fichier."),
                             fichier),
            fenetre);
        return std::nullopt;
    }
    return octets;
}

QString Premieres(const QStringList& lignes)
{
    QString texte;
    for (qsizetype i = 0; i < lignes.size() && i < kLignesMontrees; ++i)
        texte += QLatin1Char('\n') + lignes[i];
    if (lignes.size() > kLignesMontrees)
        texte += QStringLiteral("\n…");
    return texte;
}

QString LignesEcartees(const QVector<LigneEcartee>& ecartees)
{
    return PremieresDe(ecartees, [](const LigneEcartee& ecartee) {
        return QStringLiteral("Ligne %1 : %2").arg(ecartee.ligne).arg(ecartee.raison);
    });
}

} // namespace Transfert
