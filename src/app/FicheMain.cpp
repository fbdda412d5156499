#include "app/FicheMain.h"
#include "ui_FicheMain.h"

#include "ui/common/DossierProgramme.h"
#include "ui/common/Fenetre.h"
#include "ui/common/Ressources.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

TFicheMain::TFicheMain(const QStringList& arguments, QWidget* parent)
    : QWidget(parent)
    , ui(std::make_unique<Ui::TFicheMain>())
    , timerLancement(new QTimer(this))
    , arguments(arguments)
    , fenetres(Lancement::FenetresReelles())
{
    ui->setupUi(this);
    setFixedSize(492, 340);
    // Message boxes and file choosers carry the program's icon too.
    QApplication::setWindowIcon(IconeProgramme());
    PreparerFenetre(this);
    QPalette fond = palette();
    fond.setColor(QPalette::Window, Qt::white);
    setPalette(fond);
    setAutoFillBackground(true);
    ChargerLogo();
    CentrerSurEcran();

    timerLancement->setObjectName(QStringLiteral("timerLancement"));
    timerLancement->setSingleShot(true);
    timerLancement->setInterval(1000);
    connect(timerLancement, &QTimer::timeout, this, &TFicheMain::timerLancementTimer);
    timerLancement->start();
}

TFicheMain::~TFicheMain() = default;

// A missing or unreadable logo leaves the picture empty; the start goes on.
void TFicheMain::ChargerLogo()
{
    const QPixmap logo(DossierProgramme() + QStringLiteral("Quarlo.bmp"));
    if (logo.isNull())
        return;
    ui->imgLogo->setPixmap(
        logo.scaled(ui->imgLogo->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void TFicheMain::CentrerSurEcran()
{
    if (const QScreen* ecran = QGuiApplication::primaryScreen())
        move(ecran->availableGeometry().center() - rect().center());
}

void TFicheMain::timerLancementTimer()
{
    timerLancement->stop();
    hide();
    lancementEnCours = true;
    codeSortie = Lancement::Executer(arguments, DossierProgramme(), this, fenetres);
    lancementEnCours = false;
    close();
    Terminer();
}

void TFicheMain::closeEvent(QCloseEvent* evenement)
{
    // While the sequence runs, only its end closes the window.
    if (lancementEnCours) {
        evenement->ignore();
        return;
    }
    timerLancement->stop();
    evenement->accept();
    Terminer();
}

void TFicheMain::Terminer()
{
    if (termine)
        return;
    termine = true;
    emit Termine(codeSortie);
}
