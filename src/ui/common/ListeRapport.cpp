#include "ui/common/ListeRapport.h"

#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"

#include <QCollator>
#include <QHeaderView>
#include <QLocale>
#include <QTreeWidget>
#include <algorithm>

void PreparerListe(QTreeWidget* liste, std::initializer_list<ColonneListe> colonnes)
{
    liste->setRootIsDecorated(false);
    liste->setItemsExpandable(false);
    liste->setUniformRowHeights(true);
    liste->setSelectionMode(QAbstractItemView::SingleSelection);
    liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    liste->setSortingEnabled(false);
    liste->header()->setStretchLastSection(false);
    liste->header()->setSectionsMovable(false);
    // Some columns are kept one pixel wide to hide what they carry.
    liste->header()->setMinimumSectionSize(1);
    int indice = 0;
    for (const ColonneListe& colonne : colonnes) {
        if (colonne.largeur >= 0)
            liste->header()->resizeSection(indice, colonne.largeur);
        liste->headerItem()->setTextAlignment(indice, colonne.alignement | Qt::AlignVCenter);
        ++indice;
    }
}

QTreeWidgetItem* AjouterLigne(QTreeWidget* liste, const QStringList& textes, const QString& cle)
{
    auto* ligne = new QTreeWidgetItem(liste, textes);
    for (int colonne = 0; colonne < textes.size(); ++colonne)
        ligne->setTextAlignment(colonne, Qt::Alignment(liste->headerItem()->textAlignment(colonne)));
    if (!cle.isEmpty())
        SetCode(ligne, cle);
    return ligne;
}

void RemplacerTextes(QTreeWidgetItem* ligne, const QStringList& textes)
{
    for (int colonne = 0; colonne < textes.size(); ++colonne)
        ligne->setText(colonne, textes.at(colonne));
}

void TrierParLibelle(QTreeWidget* liste)
{
    QTreeWidgetItem* selection = LigneSelectionnee(liste);
    QList<QTreeWidgetItem*> lignes;
    while (liste->topLevelItemCount() > 0)
        lignes.append(liste->takeTopLevelItem(0));

    QCollator collateur{QLocale()};
    collateur.setCaseSensitivity(Qt::CaseInsensitive);
    std::stable_sort(lignes.begin(), lignes.end(), [&](QTreeWidgetItem* a, QTreeWidgetItem* b) {
        return collateur.compare(a->text(0), b->text(0)) < 0;
    });
    liste->addTopLevelItems(lignes);
    if (selection)
        liste->setCurrentItem(selection);
}

QTreeWidgetItem* LigneSelectionnee(const QTreeWidget* liste)
{
    const QList<QTreeWidgetItem*> lignes = liste->selectedItems();
    return lignes.isEmpty() ? nullptr : lignes.first();
}

QTreeWidgetItem* LigneRequise(const QTreeWidget* liste, const QString& objet, const QString& action,
                              QWidget* fenetre)
{
    QTreeWidgetItem* ligne = LigneSelectionnee(liste);
    if (!ligne)
        Messages::Information(
            QStringLiteral("Vous devez sélectionner %1 pour effectuer une %2.").arg(objet, action), fenetre);
    return ligne;
}
