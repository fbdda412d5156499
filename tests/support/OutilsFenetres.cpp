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

QStringList Colonne(QTreeWidget* liste, int colonne)
{
    QStringList textes;
    for (int i = 0; i < liste->topLevelItemCount(); ++i)
        textes << liste->topLevelItem(i)->text(colonne);
    return textes;
}

QStringList TextesLigne(QTreeWidget* liste, int index)
{
    QStringList textes;
    QTreeWidgetItem* ligne = liste->topLevelItem(index);
    for (int colonne = 0; ligne && colonne < liste->columnCount(); ++colonne)
        textes.append(ligne->text(colonne));
    return textes;
}

void SelectionnerLigne(QTreeWidget* liste, const QString& libelle)
{
    for (int i = 0; i < liste->topLevelItemCount(); ++i) {
        if (liste->topLevelItem(i)->text(0) == libelle) {
            liste->setCurrentItem(liste->topLevelItem(i));
            return;
        }
    }
    qFatal("No row %s", qPrintable(libelle));
}

QString LibelleSelectionne(QTreeWidget* liste)
{
    const QList<QTreeWidgetItem*> lignes = liste->selectedItems();
    return lignes.isEmpty() ? QString() : lignes.first()->text(0);
}

int IndexSelection(QTreeWidget* liste)
{
    const QList<QTreeWidgetItem*> lignes = liste->selectedItems();
    return lignes.isEmpty() ? -1 : liste->indexOfTopLevelItem(lignes.first());
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
