#include "ui/common/ListeRapport.h"

#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"

#include <QCollator>
#include <QHeaderView>
#include <QLocale>
#include <QTreeWidget>
#include <algorithm>
#include <utility>
#include <vector>

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

namespace {

QVector<Qt::Alignment> Alignements(const QTreeWidget* liste)
{
    QVector<Qt::Alignment> alignements;
    for (int colonne = 0; colonne < liste->columnCount(); ++colonne)
        alignements.append(Qt::Alignment(liste->headerItem()->textAlignment(colonne)));
    return alignements;
}

// What a cell without an alignment of its own shows.
constexpr Qt::Alignment kAlignementDeLaVue = Qt::AlignLeft | Qt::AlignVCenter;

QTreeWidgetItem* NouvelleLigne(const LigneRapport& contenu, const QVector<Qt::Alignment>& alignements)
{
    auto* ligne = new QTreeWidgetItem(contenu.textes);
    for (int colonne = 0; colonne < contenu.textes.size() && colonne < alignements.size(); ++colonne) {
        if (alignements.at(colonne) != kAlignementDeLaVue)
            ligne->setTextAlignment(colonne, alignements.at(colonne));
    }
    if (!contenu.cle.isEmpty())
        SetCode(ligne, contenu.cle);
    return ligne;
}

// Sorts by caption as a reader expects (accents and case ignored), keeping
// the order of equal captions. Each caption's collation key is built once.
template <class T, class Libelle>
void TrierSelonLibelle(QList<T>& elements, Libelle libelle)
{
    QCollator collateur{QLocale()};
    collateur.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QCollatorSortKey, T>> cles;
    cles.reserve(elements.size());
    for (T& element : elements)
        cles.emplace_back(collateur.sortKey(libelle(element)), std::move(element));
    std::stable_sort(cles.begin(), cles.end(),
                     [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    for (qsizetype i = 0; i < elements.size(); ++i)
        elements[i] = std::move(cles[std::size_t(i)].second);
}

} // namespace

QTreeWidgetItem* AjouterLigne(QTreeWidget* liste, const QStringList& textes, const QString& cle)
{
    QTreeWidgetItem* ligne = NouvelleLigne({textes, cle}, Alignements(liste));
    liste->addTopLevelItem(ligne);
    return ligne;
}

void AjouterLignes(QTreeWidget* liste, const QVector<LigneRapport>& lignes)
{
    const QVector<Qt::Alignment> alignements = Alignements(liste);
    QList<QTreeWidgetItem*> nouvelles;
    nouvelles.reserve(lignes.size());
    for (const LigneRapport& ligne : lignes)
        nouvelles.append(NouvelleLigne(ligne, alignements));
    liste->addTopLevelItems(nouvelles);
}

void RemplacerTextes(QTreeWidgetItem* ligne, const QStringList& textes)
{
    for (int colonne = 0; colonne < textes.size(); ++colonne)
        ligne->setText(colonne, textes.at(colonne));
}

void TrierParLibelle(QVector<LigneRapport>& lignes)
{
    TrierSelonLibelle(lignes, [](const LigneRapport& ligne) { return ligne.textes.value(0); });
}

void TrierParLibelle(QTreeWidget* liste)
{
    QTreeWidgetItem* selection = LigneSelectionnee(liste);
    QList<QTreeWidgetItem*> lignes = liste->invisibleRootItem()->takeChildren();
    TrierSelonLibelle(lignes, [](QTreeWidgetItem* ligne) { return ligne->text(0); });
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
