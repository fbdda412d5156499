// Every window of the administration and every choice dialog, opened on the
// demo data on a 1366 x 768 screen less a task bar at 150 % (the test's
// platform settings): each fits the screen, carries the program's icon, has
// the focus somewhere, shows its buttons whole and gives no two controls one
// accelerator.
//
// QUARLO_CAPTURES=<folder> saves a picture of the screen with each window
// (run the test on a real display with a window manager to see them).

#include "BaseTemporaire.h"
#include "DonneesReference.h"
#include "PreparationDemo.h"

#include "app/FicheMain.h"
#include "data/DMPose.h"
#include "model/Menuiserie.h"
#include "model/Quincaillerie.h"
#include "pricing/QuantitesQuincaillerie.h"
#include "ui/admin/FicheAdministration.h"
#include "ui/admin/FicheCategorie.h"
#include "ui/admin/FicheCategorieListe.h"
#include "ui/admin/FicheCategorieType.h"
#include "ui/admin/FicheCategorieTypeListe.h"
#include "ui/admin/FicheContrainte.h"
#include "ui/admin/FicheCopieTarifs.h"
#include "ui/admin/FicheOperandeListe.h"
#include "ui/admin/FicheParamMarge.h"
#include "ui/admin/FichePose.h"
#include "ui/admin/FichePoseListe.h"
#include "ui/admin/FichePoseurListe.h"
#include "ui/admin/FicheQuincaillerie.h"
#include "ui/admin/FicheQuincaillerieListe.h"
#include "ui/admin/FicheTarifListe.h"
#include "ui/choice/FichePoseChoix.h"
#include "ui/choice/FichePoseurChoix.h"
#include "ui/choice/FicheQuincaillerieChoix.h"
#include "ui/choice/FicheQuincaillerieDetail.h"
#include "ui/choice/FicheTarifChoix.h"
#include "ui/common/DossierProgramme.h"
#include "ui/common/Ressources.h"
#include "ui/pricing/FicheModeNormal.h"
#include "DevisHote.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QtTest>
#include <functional>

namespace {

// The demo database, its VAT types and logo, in a temporary program folder.
class BaseDemo
{
public:
    BaseDemo()
    {
        UtiliserLocaleFrancaise();
        dossier = temporaire.path() + QLatin1Char('/');
        const QString demo = QStringLiteral(QUARLO_SOURCE_DIR "/examples/demo/");
        PreparerBaseDemo(dossier, demo + QStringLiteral("Config.ini"), demo + QStringLiteral("reference.sql"));
        QFile::copy(QStringLiteral(QUARLO_SOURCE_DIR "/resources/Quarlo.bmp"), dossier + QStringLiteral("Quarlo.bmp"));
        SetDossierProgramme(dossier);
        dm.SetNomFichier(dossier + QStringLiteral("Quarlo.abs"));
        dm.Ouvrir();
        dm.AjouterTva(1, QStringLiteral("TVA 20 %"), 20.0);
        dm.AjouterTva(2, QStringLiteral("TVA 10 %"), 10.0);
        dm.AjouterTva(3, QStringLiteral("TVA 5,5 %"), 5.5);
    }
    ~BaseDemo()
    {
        dm.Fermer();
        SetDossierProgramme(QString());
    }

    // First column of the first row.
    QString Valeur(const QString& sql)
    {
        Requete requete(dm.Quarlo());
        requete.SetSql(sql);
        const Resultat& lignes = requete.Ouvrir();
        return lignes.EstVide() ? QString() : lignes.Premiere().ValeurIndice(0).toString();
    }

private:
    QTemporaryDir temporaire;
    QString dossier;
    TDMPose dm;
};

// What the windows that show a quote's objects are given.
struct Devis
{
    std::unique_ptr<TMenuiserie> menuiserie =
        NouvelleMenuiserie({QStringLiteral("HAUTEUR=1350"), QStringLiteral("LARGEUR=1200"),
                            QStringLiteral("VANTAIL=2"), QStringLiteral("TRELVANE_LIBELLE_CODE=10101")});
    TQuincailleries quincailleries;
};

// The title bar and borders of the widest usual desktop frames.
constexpr QMargins kCadreDuBureau(8, 31, 8, 8);

using Fabrique = std::function<std::unique_ptr<QWidget>(BaseDemo&, Devis&)>;

template <class Fiche>
Fabrique Simple()
{
    return [](BaseDemo&, Devis&) { return std::make_unique<Fiche>(nullptr); };
}

template <class Fiche>
Fabrique Edition(const char* table, const char* cle)
{
    return [table, cle](BaseDemo& base, Devis&) {
        auto fiche = std::make_unique<Fiche>(nullptr);
        fiche->SetCle(base.Valeur(QStringLiteral("SELECT MIN(%1) FROM %2").arg(QLatin1String(cle), QLatin1String(table))));
        return fiche;
    };
}

std::unique_ptr<QWidget> TarifChoix(BaseDemo& base, Devis& devis)
{
    auto fiche = std::make_unique<TFicheTarifChoix>(nullptr);
    fiche->SetMenuiserie(devis.menuiserie.get());
    fiche->SetIdPose(base.Valeur(QStringLiteral("SELECT MIN(IdPose) FROM Tarif")));
    return fiche;
}

std::unique_ptr<QWidget> PoseChoix(BaseDemo&, Devis&)
{
    auto fiche = std::make_unique<TFichePoseChoix>(nullptr);
    fiche->ChargerListe();
    return fiche;
}

std::unique_ptr<QWidget> QuincaillerieDetail(BaseDemo& base, Devis& devis)
{
    const QString premiere = base.Valeur(QStringLiteral("SELECT MIN(IdQuincaillerie) FROM Quincaillerie"));
    const QString derniere = base.Valeur(QStringLiteral("SELECT MAX(IdQuincaillerie) FROM Quincaillerie"));
    for (const QString& id : {premiere, derniere})
        AjouterDuCatalogue(devis.quincailleries, id, {2, 2}, SommesDimensions{1350, 1200, {}});
    auto fiche = std::make_unique<TFicheQuincaillerieDetail>(nullptr);
    fiche->SetMenuiseries(*devis.menuiserie);
    fiche->SetQuincailleries(devis.quincailleries);
    return fiche;
}

std::unique_ptr<QWidget> CopieTarifs(BaseDemo& base, Devis&)
{
    return std::make_unique<TFicheCopieTarifs>(nullptr, QStringLiteral("0"),
                                               base.Valeur(QStringLiteral("SELECT MIN(IdPose) FROM Pose")));
}

// The pricing screen on a quote of the demo's kind, two items with their lines.
std::unique_ptr<QWidget> ModeNormal(BaseDemo& base, Devis&)
{
    static QTemporaryDir dossier;
    const QString echange = dossier.filePath(QStringLiteral("Devis.xml"));
    QFile fichier(echange);
    if (!fichier.open(QIODevice::WriteOnly))
        return nullptr;
    const QString pose = base.Valeur(QStringLiteral("SELECT MIN(IdPose) FROM Pose"));
    const QString ligne = Tarif(QString(), QStringLiteral("Fenêtre 2 vantaux standard"), QStringLiteral("223,00"), 1,
                                QStringLiteral("20,00"), QStringLiteral("1"));
    fichier.write(Document(PoseGlobale(pose, QStringLiteral("Pose en neuf"), 1, QStringLiteral("20,00"), QString())
                           + Menuiseries({{QStringLiteral("Fenêtre PVC 2 vantaux oscillo-battants séjour"),
                                           {{"Quantite", "3"}, {"Hauteur", "1350"}, {"Largeur", "1200"}, {"Vantail", "2"}},
                                           ligne + ligne, "3"},
                                          {QStringLiteral("Porte d'entrée"), {{"Quantite", "1"}}, ligne, "1"}})));
    fichier.close();
    auto fiche = std::make_unique<TFicheModeNormal>(nullptr);
    fiche->SetFichierEchange(echange);
    return fiche;
}

std::unique_ptr<QWidget> Demarrage(BaseDemo&, Devis&)
{
    // Not started: the test only looks at it.
    auto fiche = std::make_unique<TFicheMain>(QStringList());
    fiche->findChild<QTimer*>(QStringLiteral("timerLancement"))->stop();
    return fiche;
}

const QVector<std::pair<const char*, Fabrique>>& Fenetres()
{
    static const QVector<std::pair<const char*, Fabrique>> fenetres = {
        {"FicheMain", Demarrage},
        {"FicheAdministration", Simple<TFicheAdministration>()},
        {"FicheTarifListe", Simple<TFicheTarifListe>()},
        {"FicheCopieTarifs", CopieTarifs},
        {"FichePoseListe", Simple<TFichePoseListe>()},
        {"FichePose", Edition<TFichePose>("Pose", "IdPose")},
        {"FichePoseurListe", Simple<TFichePoseurListe>()},
        {"FicheCategorieTypeListe", Simple<TFicheCategorieTypeListe>()},
        {"FicheCategorieType", Edition<TFicheCategorieType>("CategorieType", "IdCategorieType")},
        {"FicheCategorieListe", Simple<TFicheCategorieListe>()},
        {"FicheCategorie", Edition<TFicheCategorie>("Categorie", "IdCategorie")},
        {"FicheContrainte", Simple<TFicheContrainte>()},
        {"FicheOperandeListe", Simple<TFicheOperandeListe>()},
        {"FicheQuincaillerieListe", Simple<TFicheQuincaillerieListe>()},
        {"FicheQuincaillerie", Edition<TFicheQuincaillerie>("Quincaillerie", "IdQuincaillerie")},
        {"FicheParamMarge", Simple<TFicheParamMarge>()},
        {"FicheTarifChoix", TarifChoix},
        {"FichePoseChoix", PoseChoix},
        {"FichePoseurChoix", Simple<TFichePoseurChoix>()},
        {"FicheQuincaillerieChoix", Simple<TFicheQuincaillerieChoix>()},
        {"FicheQuincaillerieDetail", QuincaillerieDetail},
        {"FicheModeNormal", ModeNormal},
    };
    return fenetres;
}

// True when some panel of the window scrolls: it has not the room its
// content needs, so a larger window first stops its scrolling.
bool Defile(const QWidget* fenetre)
{
    for (const QScrollArea* zone : fenetre->findChildren<QScrollArea*>()) {
        if (zone->verticalScrollBar()->isVisible() || zone->horizontalScrollBar()->isVisible())
            return true;
    }
    return false;
}

// The text of a control that an accelerator may be given to.
QString TexteAccelerable(const QWidget* controle)
{
    if (const auto* bouton = qobject_cast<const QAbstractButton*>(controle))
        return bouton->text();
    if (const auto* cadre = qobject_cast<const QGroupBox*>(controle))
        return cadre->isCheckable() ? cadre->title() : QString();
    if (const auto* etiquette = qobject_cast<const QLabel*>(controle))
        return etiquette->buddy() ? etiquette->text() : QString();
    return {};
}

// The accelerator of a text ("&Valider" gives 'v'), or nothing.
QChar Accelerateur(const QString& texte)
{
    for (qsizetype i = texte.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < texte.size();
         i = texte.indexOf(QLatin1Char('&'), i + 2)) {
        if (texte.at(i + 1) != QLatin1Char('&'))
            return texte.at(i + 1).toLower();
    }
    return {};
}

void Capturer(QWidget* fenetre, const QString& nom)
{
    const QString dossier = qEnvironmentVariable("QUARLO_CAPTURES");
    if (dossier.isEmpty())
        return;
    // The window manager decorates the window after it is shown; the
    // picture waits for it (and for the drawing that follows) at most a while.
    [[maybe_unused]] const bool decoree =
        QTest::qWaitFor([fenetre] { return fenetre->frameGeometry() != fenetre->geometry(); }, 2000);
    QTest::qWait(300);
    QDir().mkpath(dossier);
    fenetre->screen()->grabWindow(0).save(dossier + QLatin1Char('/') + nom + QStringLiteral(".png"));
}

} // namespace

class TestEcrans : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();
    void fenetreTientEtSeLitAuClavier_data();
    void fenetreTientEtSeLitAuClavier();

private:
    std::unique_ptr<BaseDemo> base;
};

void TestEcrans::initTestCase()
{
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
    base = std::make_unique<BaseDemo>();
}

void TestEcrans::cleanupTestCase()
{
    base.reset();
}

void TestEcrans::fenetreTientEtSeLitAuClavier_data()
{
    QTest::addColumn<int>("indice");
    for (int i = 0; i < Fenetres().size(); ++i)
        QTest::newRow(Fenetres().at(i).first) << i;
}

void TestEcrans::fenetreTientEtSeLitAuClavier()
{
    QFETCH(int, indice);
    Devis devis;
    const std::unique_ptr<QWidget> fenetre = Fenetres().at(indice).second(*base, devis);
    const QSize tailleDuSysteme = fenetre->size();
    fenetre->show();
    QVERIFY(QTest::qWaitForWindowExposed(fenetre.get()));
    fenetre->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(fenetre.get()));
    Capturer(fenetre.get(), QString::fromLatin1(Fenetres().at(indice).first));

    // On the screen, and small enough for the title bar and borders of any
    // usual desktop.
    const QRect ecran = fenetre->screen()->availableGeometry();
    const QRect cadre = fenetre->frameGeometry();
    const QSize exterieur = fenetre->size().grownBy(kCadreDuBureau);
    qInfo("%s : %d × %d", Fenetres().at(indice).first, fenetre->width(), fenetre->height());
    QVERIFY2(ecran.contains(cadre) && exterieur.boundedTo(ecran.size()) == exterieur,
             qPrintable(QStringLiteral("fenêtre %1 × %2 en (%3, %4), écran %5 × %6")
                            .arg(exterieur.width())
                            .arg(exterieur.height())
                            .arg(cadre.x())
                            .arg(cadre.y())
                            .arg(ecran.width())
                            .arg(ecran.height())));
    // Where the screen has room, the window keeps the system's size (to the
    // device pixel a window manager rounds it to), unless its panels need more.
    const QSize systemeEncadre = tailleDuSysteme.grownBy(kCadreDuBureau);
    if (systemeEncadre.boundedTo(ecran.size()) == systemeEncadre && fenetre->findChildren<QScrollArea*>().isEmpty()) {
        const QSize ecart = fenetre->size() - tailleDuSysteme;
        QVERIFY2(std::abs(ecart.width()) <= 1 && std::abs(ecart.height()) <= 1,
                 qPrintable(QStringLiteral("%1 × %2").arg(fenetre->width()).arg(fenetre->height())));
    }
    // At 100 % the laptop's screen has room for every panel whole: the
    // form's size, drawn for other fonts, grows to what the panels need.
    if (qEnvironmentVariable("QT_SCALE_FACTOR") == u"1")
        QVERIFY2(!Defile(fenetre.get()), "un panneau défile à 100 %");
    QCOMPARE(fenetre->windowIcon().pixmap(32).toImage(), IconeProgramme().pixmap(32).toImage());
    if (!fenetre->findChildren<QAbstractButton*>().isEmpty()) {
        QWidget* focus = QApplication::focusWidget();
        QVERIFY2(focus && fenetre->isAncestorOf(focus), "aucun contrôle n'a le focus");
    }

    // A larger window gives its room to its lists and grids: each way, the
    // lists together take all of it (one list alone, or two side by side),
    // but what panels below their preferred size (a screen without room for
    // them) take first.
    QList<QAbstractItemView*> vues;
    for (QAbstractItemView* candidate : fenetre->findChildren<QAbstractItemView*>()) {
        if (candidate->isVisible() && candidate->height() > 2 * candidate->fontMetrics().height())
            vues << candidate;
    }
    if (!vues.isEmpty() && fenetre->maximumSize() != fenetre->minimumSize() && !Defile(fenetre.get())) {
        const auto croissance = [&vues](const QList<QSize>& avant) {
            QSize plus;
            for (int i = 0; i < vues.size(); ++i)
                plus = plus.expandedTo(vues[i]->size() - avant[i]);
            return plus;
        };
        QList<QSize> avant;
        for (const QAbstractItemView* liste : vues)
            avant << liste->size();
        QSize manque(0, 0);
        for (const QScrollArea* zone : fenetre->findChildren<QScrollArea*>()) {
            if (zone->widget())
                manque = manque.expandedTo(zone->widget()->sizeHint() - zone->viewport()->size());
        }
        const QSize croissanceMinimale = (QSize(60, 60) - manque).expandedTo(QSize(0, 0));
        fenetre->resize(fenetre->size() + QSize(60, 60));
        const auto prise = [&] {
            const QSize plus = croissance(avant);
            return plus.boundedTo(QSize(60, 60)) == plus && plus.expandedTo(croissanceMinimale) == plus;
        };
        QTRY_VERIFY2(prise(), qPrintable(QStringLiteral("les listes prennent %1 × %2 de 60 × 60 (au moins %3 × %4)")
                                             .arg(croissance(avant).width())
                                             .arg(croissance(avant).height())
                                             .arg(croissanceMinimale.width())
                                             .arg(croissanceMinimale.height())));
    }

    QHash<QChar, QString> accelerateurs;
    for (QWidget* controle : fenetre->findChildren<QWidget*>()) {
        if (!controle->isVisibleTo(fenetre.get()))
            continue;
        if (auto* bouton = qobject_cast<QAbstractButton*>(controle)) {
            bool entier = bouton->width() >= bouton->minimumSizeHint().width();
#ifdef Q_OS_WIN
            // The Windows style asks 75 pixels of any button with a text: the
            // one-character arrows may get less where the screen has no room,
            // their text still whole.
            const QString texte = QString(bouton->text()).remove(u'&');
            if (texte.size() == 1)
                entier = entier || bouton->width() >= bouton->fontMetrics().horizontalAdvance(texte)
                                                        + 2 * bouton->style()->pixelMetric(QStyle::PM_ButtonMargin);
#endif
            QVERIFY2(entier, qPrintable(bouton->objectName() + QStringLiteral(" coupé")));
        }
        const QString texte = TexteAccelerable(controle);
        if (texte.isEmpty())
            continue;
        const QChar touche = Accelerateur(texte);
        QVERIFY2(!touche.isNull() || qobject_cast<QLabel*>(controle),
                 qPrintable(controle->objectName() + QStringLiteral(" sans accélérateur")));
        if (touche.isNull())
            continue;
        QVERIFY2(!accelerateurs.contains(touche),
                 qPrintable(QStringLiteral("« %1 » pour %2 et %3")
                                .arg(touche)
                                .arg(accelerateurs.value(touche), controle->objectName())));
        accelerateurs.insert(touche, controle->objectName());
    }
}

QTEST_MAIN(TestEcrans)
#include "tst_ecrans.moc"
