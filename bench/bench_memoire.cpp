// Peak memory of the pricing screen on a large quote: the whole process's
// peak resident size (VmHWM), from start to the screen shown with the first
// item selected. Without arguments, writes quotes of 250 and 2,000 items,
// opens the screen on each in a process of its own and prints the peak and
// what one more item costs. "--ecran <exchange file>" is that process.

#include "DevisBanc.h"
#include "Tableau.h"

#include "data/DMPose.h"
#include "engine/Base.h"
#include "ui/common/DossierProgramme.h"
#include "ui/pricing/FicheModeNormal.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdio>

namespace {

constexpr int kPetitDevis = 250;
constexpr int kGrandDevis = 2000;
constexpr double kObjectifMo = 80;

// The peak resident size of this process, in kB (0 when unknown).
long PicMemoireKo()
{
    QFile statut(QStringLiteral("/proc/self/status"));
    if (!statut.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& ligne : statut.readAll().split('\n')) {
        if (ligne.startsWith("VmHWM:"))
            return ligne.mid(6).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

int OuvrirEcran(const QString& echange)
{
    QTemporaryDir dossier;
    SetDossierProgramme(dossier.path() + QLatin1Char('/'));
    TDMPose dm;
    dm.SetNomFichier(dossier.filePath(QStringLiteral("Quarlo.abs")));
    dm.Ouvrir();
    dm.RestructureBase();
    dm.AjouterTva(1, QStringLiteral("TVA 20 %"), 20.0);
    dm.AjouterTva(2, QStringLiteral("TVA 10 %"), 10.0);
    dm.Quarlo().ExecuterScript(QStringLiteral("INSERT INTO Pose (Libelle, TypeTva) VALUES ('Pose en rénovation', 2)"));

    TFicheModeNormal fiche(nullptr);
    fiche.SetFichierEchange(echange);
    fiche.show();
    QElapsedTimer attente;
    attente.start();
    while (fiche.GetPremiereActivation() && attente.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    QApplication::processEvents();
    if (fiche.GetSession().GetMenuiseries().Nombre() == 0) {
        std::fprintf(stderr, "le devis n'a pas été chargé\n");
        return 1;
    }
    std::printf("%ld\n", PicMemoireKo());
    fiche.hide();
    dm.Fermer();
    return 0;
}

// Runs this program on a quote of that size; the peak in kB, or -1.
long PicPourDevis(const QString& programme, int nombreMenuiseries)
{
    QTemporaryDir dossier;
    const QString echange = dossier.filePath(QStringLiteral("echange.xml"));
    DevisEchange devis = GrandDevis(nombreMenuiseries);
    devis.poseGlobale.SetId(QStringLiteral("1"));
    EcrireEchange(devis.poseGlobale, true, devis.quincailleriesGlobales, devis.menuiseries, echange,
                  dossier.filePath(QStringLiteral("20250312_150000")));
    QProcess ecran;
    ecran.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    ecran.start(programme, {QStringLiteral("--ecran"), echange});
    if (!ecran.waitForFinished(120000) || ecran.exitCode() != 0)
        return -1;
    bool lu = false;
    const long pic = ecran.readAllStandardOutput().trimmed().toLong(&lu);
    return lu ? pic : -1;
}

std::string Texte(const char* format, double valeur)
{
    char texte[64];
    std::snprintf(texte, sizeof texte, format, valeur);
    return texte;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QLocale::setDefault(QLocale(QLocale::French, QLocale::France));
    const QStringList arguments = QApplication::arguments();
    if (arguments.size() == 3 && arguments.at(1) == QStringLiteral("--ecran"))
        return OuvrirEcran(arguments.at(2));

    const long petit = PicPourDevis(QApplication::applicationFilePath(), kPetitDevis);
    const long grand = PicPourDevis(QApplication::applicationFilePath(), kGrandDevis);
    if (petit < 0 || grand < 0) {
        std::fprintf(stderr, "l'écran de chiffrage n'a pas pu être mesuré\n");
        return 1;
    }
    AjouterAuTableau("peak memory (VmHWM), pricing screen on the 2,000-item quote\t" + Texte("%.1f MB", grand / 1024.0)
                     + "\t—\t—\t" + Texte("≤ %.0f MB", kObjectifMo));
    AjouterAuTableau("memory per quote item: peak at 2,000 items less peak at 250, / 1,750\t"
                     + Texte("%.1f kB", double(grand - petit) / (kGrandDevis - kPetitDevis)) + "\t—\t—\t—");
    return 0;
}
