// CapturerEcrans <folder>
// Renders the pricing screen on the demo quote and the administration hub
// on the demo database (as scripts/images.sh runs it, offscreen) to PNG
// images in the folder, for the README.

#include "PreparationDemo.h"

#include "app/Configuration.h"
#include "app/Lancement.h"
#include "data/DMPose.h"
#include "ui/admin/FicheAdministration.h"
#include "ui/choice/FichePoseChoix.h"
#include "ui/common/DossierProgramme.h"
#include "ui/pricing/FicheModeNormal.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>
#include <QTreeView>
#include <exception>
#include <functional>
#include <stdexcept>

namespace {

const QString kDemo = QStringLiteral(QUARLO_SOURCE_DIR "/examples/demo/");

// Lets the events run until the condition holds (at most five seconds), then
// a little longer, for the layouts and the repaints it started.
void Attendre(const std::function<bool()>& condition = [] { return true; })
{
    QElapsedTimer chrono;
    chrono.start();
    while (!condition() && chrono.elapsed() < 5000)
        QApplication::processEvents(QEventLoop::AllEvents, 25);
    for (chrono.restart(); chrono.elapsed() < 200;)
        QApplication::processEvents(QEventLoop::AllEvents, 25);
}

void Enregistrer(QWidget* fenetre, const QString& chemin)
{
    if (!fenetre->grab().save(chemin))
        throw std::runtime_error(QStringLiteral("Impossible d'écrire l'image « %1 ».").arg(chemin).toStdString());
    QTextStream(stdout) << chemin << "\n";
}

// The kind asked at the opening: the renovation one, as a user of the demo picks it.
void ChoisirLaPoseALOuverture()
{
    auto* surveillance = new QTimer(qApp);
    QObject::connect(surveillance, &QTimer::timeout, surveillance, [surveillance] {
        auto* choix = qobject_cast<TFichePoseChoix*>(QApplication::activeModalWidget());
        if (!choix)
            return;
        auto* liste = choix->findChild<QListWidget*>(QStringLiteral("lvListe"));
        const auto renovation = liste->findItems(QStringLiteral("Pose en rénovation"), Qt::MatchExactly);
        liste->setCurrentItem(renovation.isEmpty() ? liste->item(0) : renovation.first());
        choix->findChild<QAbstractButton*>(QStringLiteral("btnValider"))->click();
        surveillance->deleteLater();
    });
    surveillance->start(20);
}

void CapturerChiffrage(const QString& dossierDemo, const QString& image)
{
    const QString echange = QDir(dossierDemo).filePath(QStringLiteral("Devis.xml"));
    QFile::copy(kDemo + QStringLiteral("Devis.xml"), echange);
    ChoisirLaPoseALOuverture();
    TFicheModeNormal fiche(nullptr);
    fiche.SetFichierEchange(echange);
    fiche.show();
    Attendre([&fiche] { return !fiche.GetPremiereActivation(); });
    auto* menuiseries = fiche.findChild<QTreeView*>(QStringLiteral("lvListe"));
    menuiseries->setCurrentIndex(menuiseries->model()->index(0, 0));
    auto* lignes = fiche.findChild<QTreeView*>(QStringLiteral("lvCategorie"));
    lignes->setCurrentIndex(lignes->model()->index(0, 0));
    Attendre();
    Enregistrer(&fiche, image);
}

void CapturerAdministration(const QString& image)
{
    TFicheAdministration fiche(nullptr);
    fiche.show();
    Attendre();
    Enregistrer(&fiche, image);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    Lancement::InstallerTraductionBoiteAOutils();
    const QStringList arguments = QCoreApplication::arguments().mid(1);
    if (arguments.size() != 1) {
        QTextStream(stderr) << "Usage : CapturerEcrans <dossier des images>\n";
        return 2;
    }
    try {
        QTemporaryDir demo;
        const QString config = kDemo + QStringLiteral("Config.ini");
        PreparerBaseDemo(demo.path(), config, kDemo + QStringLiteral("reference.sql"));
        QFile::copy(QStringLiteral(QUARLO_SOURCE_DIR "/resources/Quarlo.bmp"), QDir(demo.path()).filePath("Quarlo.bmp"));
        SetDossierProgramme(demo.path() + QLatin1Char('/'));
        TDMPose dm;
        dm.ChoisirBase(demo.path() + QLatin1Char('/'));
        dm.Ouvrir();
        dm.RestructureBase();
        LireTypesTva(config);

        QDir().mkpath(arguments[0]);
        const QDir images(arguments[0]);
        CapturerChiffrage(demo.path(), images.filePath(QStringLiteral("chiffrage.png")));
        CapturerAdministration(images.filePath(QStringLiteral("administration.png")));
        dm.Fermer();
        return 0;
    } catch (const std::exception& erreur) {
        QTextStream(stderr) << "CapturerEcrans : " << QString::fromUtf8(erreur.what()) << "\n";
        return 1;
    }
}
