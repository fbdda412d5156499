#include "ui/common/Transfert.h"

#include "model/Encodage.h"
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

// The text of a written line, as a message quotes it.
QString TexteLigne(const QByteArray& octets)
{
    return DecoderCp1252(octets).chopped(2);
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
            QStringLiteral("Exportation - Une erreur est survenue pendant la création du fichier."), fenetre);
        return false;
    }
    const auto echecEcriture = [&](const QString& quoi) {
        fichier.cancelWriting();
        Messages::Information(
            QStringLiteral("Exportation - Une erreur est survenue pendant l'écriture du fichier : ") + quoi, fenetre);
        return false;
    };

    const QByteArray enTete = LigneCsv(entete);
    if (fichier.write(enTete) != enTete.size())
        return echecEcriture(QStringLiteral("EN-TETE"));

    const QVector<QStringList> aEcrire = lignes();
    Progression progression(indicateurs.barre, aEcrire.size());
    QByteArray derniere = enTete;
    for (int i = 0; i < aEcrire.size(); ++i) {
        derniere = LigneCsv(aEcrire[i]);
        if (fichier.write(derniere) != derniere.size())
            return echecEcriture(TexteLigne(derniere));
        progression.Avancer(i + 1);
    }
    // Written lines may still wait in a buffer: a disk that fills up shows
    // here, and the last line is the one named.
    if (!fichier.commit())
        return echecEcriture(derniere == enTete ? QStringLiteral("EN-TETE") : TexteLigne(derniere));
    progression.Terminer();
    indicateurs.coche->show();
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
            QStringLiteral("Importation - Une erreur est survenue pendant l'ouverture du fichier."), fenetre);
        return std::nullopt;
    }
    return octets;
}

} // namespace Transfert
