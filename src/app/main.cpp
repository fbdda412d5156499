#include "app/FicheMain.h"
#include "app/Lancement.h"
#include "data/DMPose.h"
#include "model/Systeme.h"
#include "ui/common/Messages.h"
#include "ui/common/Protection.h"

#include <QApplication>
#include <QLocale>
#include <csignal>

namespace {

// The last-resort catch: Qt does not let exceptions cross its event loop, so
// one that escaped every handler is shown here and the program ends.
class TApplication : public QApplication
{
public:
    using QApplication::QApplication;

    bool notify(QObject* destinataire, QEvent* evenement) override
    {
        try {
            return QApplication::notify(destinataire, evenement);
        } catch (const std::exception& erreur) {
            ErreurFatale(TexteErreur(erreur));
        } catch (...) {
            ErreurFatale(QStringLiteral("Erreur inattendue."));
        }
        return false;
    }

    bool EnErreur() const { return enErreur; }

private:
    bool enErreur = false;

    void ErreurFatale(const QString& texte)
    {
        const bool premiere = !enErreur;
        enErreur = true;
        if (premiere)
            Messages::Erreur(texte);
        Systeme::Terminer(1);
    }
};

// The whole run; its windows, database and application are gone when it returns.
int Executer(int argc, char* argv[])
{
#ifdef SIGXFSZ
    // A file-size limit makes a write fail with its reason instead of ending the program.
    std::signal(SIGXFSZ, SIG_IGN);
#endif
    TApplication application(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quarlo"));
    QLocale::setDefault(QLocale::system());
    Lancement::InstallerTraductionBoiteAOutils();
    // The start-up window hides while the sequence runs; the program ends
    // when the sequence says so, not when no window is visible.
    QApplication::setQuitOnLastWindowClosed(false);

    TDMPose dmPose;
    TFicheMain ficheMain(QApplication::arguments().mid(1));
    QObject::connect(&ficheMain, &TFicheMain::Termine, &application,
                     [](int codeSortie) { QApplication::exit(codeSortie); });
    ficheMain.show();

    const int codeBoucle = QApplication::exec();
    return application.EnErreur() ? 1 : codeBoucle;
}

} // namespace

int main(int argc, char* argv[])
{
    Systeme::Terminer(Executer(argc, argv));
}
