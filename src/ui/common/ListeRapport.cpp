#include "ui/common/ListeRapport.h"

#include "ui/common/DelegateTexte.h"
#include "ui/common/Messages.h"
#include "ui/common/ObjectCode.h"

#include <QCollator>
#include <QEvent>
#include <QHash>
#include <QHeaderView>
#include <QLocale>
#include <QTableView>
#include <QTreeWidget>
#include <algorithm>
#include <numeric>
#include <string>
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
    liste->header()->setSectionResizeMode(QHeaderView::Interactive);
    new TDelegateTexte(liste);
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

QHeaderView* EnteteColonnes(QAbstractItemView* vue)
{
    if (auto* arbre = qobject_cast<QTreeView*>(vue))
        return arbre->header();
    if (auto* grille = qobject_cast<QTableView*>(vue))
        return grille->horizontalHeader();
    return nullptr;
}

// Gives the columns the room left whenever the view's rows area changes size.
class ColonnesExtensibles : public QObject
{
public:
    ColonnesExtensibles(QHeaderView* entete, QWidget* zoneDesLignes, std::initializer_list<int> colonnes)
        : QObject(zoneDesLignes)
        , entete(entete)
        , zoneDesLignes(zoneDesLignes)
    {
        for (const int colonne : colonnes)
            largeursDuSysteme.insert(colonne, entete->sectionSize(colonne));
        zoneDesLignes->installEventFilter(this);
        Ajuster();
    }

protected:
    bool eventFilter(QObject*, QEvent* evenement) override
    {
        if (evenement->type() == QEvent::Resize)
            Ajuster();
        return false;
    }

private:
    QHeaderView* entete;
    QWidget* zoneDesLignes;
    QHash<int, int> largeursDuSysteme; // column -> its width as the window was designed

    void Ajuster()
    {
        int occupee = 0;
        for (int colonne = 0; colonne < entete->count(); ++colonne) {
            if (!entete->isSectionHidden(colonne))
                occupee += largeursDuSysteme.value(colonne, entete->sectionSize(colonne));
        }
        const int part = std::max(0, zoneDesLignes->width() - occupee) / int(largeursDuSysteme.size());
        for (auto colonne = largeursDuSysteme.cbegin(); colonne != largeursDuSysteme.cend(); ++colonne)
            entete->resizeSection(colonne.key(), colonne.value() + part);
    }
};

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

// Close to the collator's order and quick to build: ASCII letters in lower
// case, the accented letters of Latin-1 as their base letter. Written to
// `cible`, which has room for the caption's length.
void EcrireCleApprochee(QStringView libelle, char16_t* cible)
{
    // U+00C0 to U+00FF; 0 keeps the character (the two signs).
    static constexpr char16_t kBases[64] = {
        u'a', u'a', u'a', u'a', u'a', u'a', u'a', u'c', u'e', u'e', u'e', u'e', u'i', u'i', u'i', u'i',
        u'd', u'n', u'o', u'o', u'o', u'o', u'o', 0,    u'o', u'u', u'u', u'u', u'u', u'y', u't', u's',
        u'a', u'a', u'a', u'a', u'a', u'a', u'a', u'c', u'e', u'e', u'e', u'e', u'i', u'i', u'i', u'i',
        u'd', u'n', u'o', u'o', u'o', u'o', u'o', 0,    u'o', u'u', u'u', u'u', u'u', u'y', u't', u'y',
    };
    const char16_t* source = libelle.utf16();
    for (qsizetype i = 0; i < libelle.size(); ++i) {
        const char16_t unite = source[i];
        if (unite >= u'A' && unite <= u'Z')
            cible[i] = char16_t(unite + (u'a' - u'A'));
        else if (unite >= 0xC0 && unite <= 0xFF && kBases[unite - 0xC0])
            cible[i] = kBases[unite - 0xC0];
        else
            cible[i] = unite;
    }
}

// Sorts by caption as a reader expects (accents and case ignored), equal
// captions in their first order. The collator is dear (a collation key costs
// more than reading the row), so the captions are first put in a cheap order
// close to it (EcrireCleApprochee), then placed one by one by the collator: one
// comparison for a caption that follows the last one placed, a binary search
// for the others.
template <class T, class Libelle>
void TrierSelonLibelle(QList<T>& elements, Libelle libelle)
{
    const std::size_t nombre = std::size_t(elements.size());
    std::vector<QString> libelles;
    libelles.reserve(nombre);
    qsizetype longueurTotale = 0;
    for (const T& element : elements) {
        libelles.push_back(libelle(element));
        longueurTotale += libelles.back().size();
    }
    // Every near key in one block: one allocation for the whole list.
    std::u16string cles(std::size_t(longueurTotale), u'\0');
    std::vector<QStringView> replies;
    replies.reserve(nombre);
    char16_t* cible = cles.data();
    for (const QString& texte : libelles) {
        EcrireCleApprochee(texte, cible);
        replies.emplace_back(cible, texte.size());
        cible += texte.size();
    }
    std::vector<std::size_t> approche(nombre);
    std::iota(approche.begin(), approche.end(), std::size_t(0));
    std::stable_sort(approche.begin(), approche.end(),
                     [&](std::size_t a, std::size_t b) { return replies[a] < replies[b]; });

    QCollator collateur{QLocale()};
    collateur.setCaseSensitivity(Qt::CaseInsensitive);
    const auto avant = [&](std::size_t a, std::size_t b) {
        const int ordre = collateur.compare(libelles[a], libelles[b]);
        return ordre < 0 || (ordre == 0 && a < b);
    };
    std::vector<std::size_t> places;
    places.reserve(nombre);
    for (const std::size_t indice : approche) {
        if (places.empty() || avant(places.back(), indice))
            places.push_back(indice);
        else
            places.insert(std::upper_bound(places.begin(), places.end(), indice, avant), indice);
    }

    QList<T> tries;
    tries.reserve(elements.size());
    for (const std::size_t indice : places)
        tries.append(std::move(elements[qsizetype(indice)]));
    elements = std::move(tries);
}

} // namespace

void EtendreColonnes(QAbstractItemView* vue, std::initializer_list<int> colonnes)
{
    QHeaderView* entete = EnteteColonnes(vue);
    if (!entete || colonnes.size() == 0)
        return;
    entete->setStretchLastSection(false);
    new ColonnesExtensibles(entete, vue->viewport(), colonnes);
}

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
