#include "OutilsFenetres.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTest>
#include <QTreeWidget>
#include <algorithm>

QTreeWidget* Liste(QWidget* fenetre, const QString& nom)
{
    return Controle<QTreeWidget>(fenetre, nom);
}

void Cliquer(QWidget* fenetre, const QString& bouton)
{
    QTest::mouseClick(Controle<QAbstractButton>(fenetre, bouton), Qt::LeftButton);
}

QString Legende(const QAbstractButton* bouton)
{
    QString texte = bouton->text();
    // "&&" stands for one "&"; any other "&" marks the accelerator.
    static const QRegularExpression marque(QStringLiteral("&(.)"));
    return texte.replace(marque, QStringLiteral("\\1"));
}

void DoubleCliquer(QAbstractItemView* liste, const QPoint& position)
{
    QTest::mouseClick(liste->viewport(), Qt::LeftButton, {}, position);
    QTest::mouseDClick(liste->viewport(), Qt::LeftButton, {}, position);
    QTest::mouseRelease(liste->viewport(), Qt::LeftButton, {}, position);
}

void Taper(QWidget* fenetre, const QString& edition, const QString& texte)
{
    auto* edit = Controle<QLineEdit>(fenetre, edition);
    edit->setFocus();
    edit->clear();
    // QTest types plain ASCII only; accented text is inserted as an input
    // method would.
    const bool ascii = std::all_of(texte.begin(), texte.end(),
                                   [](QChar c) { return c.unicode() >= 32 && c.unicode() < 127; });
    if (ascii)
        QTest::keyClicks(edit, texte);
    else
        edit->insert(texte);
}

void Choisir(QWidget* fenetre, const QString& combo, const QString& texte)
{
    auto* liste = Controle<QComboBox>(fenetre, combo);
    const int indice = liste->findText(texte, Qt::MatchExactly);
    if (indice < 0)
        qFatal("No entry %s in %s", qPrintable(texte), qPrintable(combo));
    liste->setCurrentIndex(indice);
}

QStringList TextesCombo(QComboBox* combo)
{
    QStringList textes;
    for (int i = 0; i < combo->count(); ++i)
        textes << combo->itemText(i);
    return textes;
}

QStringList Colonne(QAbstractItemView* liste, int colonne)
{
    const QAbstractItemModel* modele = liste->model();
    QStringList textes;
    for (int i = 0; i < modele->rowCount(); ++i)
        textes << modele->index(i, colonne).data().toString();
    return textes;
}

QStringList TextesLigne(QAbstractItemView* liste, int index)
{
    const QAbstractItemModel* modele = liste->model();
    QStringList textes;
    for (int colonne = 0; index >= 0 && index < modele->rowCount() && colonne < modele->columnCount(); ++colonne)
        textes.append(modele->index(index, colonne).data().toString());
    return textes;
}

void SelectionnerLigne(QAbstractItemView* liste, const QString& libelle)
{
    const int rang = int(Colonne(liste).indexOf(libelle));
    if (rang < 0)
        qFatal("No row %s", qPrintable(libelle));
    SelectionnerRang(liste, rang);
}

void SelectionnerRang(QAbstractItemView* liste, int rang)
{
    liste->setCurrentIndex(liste->model()->index(rang, 0));
}

QString LibelleSelectionne(QAbstractItemView* liste)
{
    const int rang = IndexSelection(liste);
    return rang < 0 ? QString() : liste->model()->index(rang, 0).data().toString();
}

int IndexSelection(QAbstractItemView* liste)
{
    const QModelIndexList lignes = liste->selectionModel()->selectedRows();
    return lignes.isEmpty() ? -1 : lignes.first().row();
}

int NombreLignes(QAbstractItemView* liste)
{
    return liste->model()->rowCount();
}

QRect RectangleLigne(QAbstractItemView* liste, int rang)
{
    return liste->visualRect(liste->model()->index(rang, 0));
}

void ViderFileEvenements()
{
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

bool AucuneFenetreModale()
{
    ViderFileEvenements();
    return QApplication::activeModalWidget() == nullptr;
}

bool AucuneFenetreOuverte()
{
    ViderFileEvenements();
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible())
            return false;
    }
    return true;
}
