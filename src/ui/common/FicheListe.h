#pragma once

// Base of the modal list windows that maintain one table: the list is filled
// from one read of the table (each row carrying its key), "Ajouter", "Dupliquer" and
// "Modifier" open the edit window of the table and refill the list once it
// has closed, whatever its result, and "Supprimer" asks for confirmation,
// deletes and refills. Several copies of the program may share the
// database: a deletion takes only the record as the list read it, and says
// so when another copy deleted or changed it since (the list then shows it
// as it is stored now, selected, to be deleted again). A window supplies its
// rows, its texts, its edit window and its deletion; buttons it does not
// have are simply left out.

#include "ui/common/ListeRapport.h"

#include <QDialog>
#include <QString>
#include <memory>

class QAbstractButton;
class QTreeWidget;
class QTreeWidgetItem;
class TFicheEdition;
enum class Enregistrement;

// How the messages name one record: "une pose" (selection required),
// "cette pose" (confirmation), "de la pose" (failed deletion).
struct TextesListe
{
    QString une;
    QString cette;
    QString de;
};

struct BoutonsListe
{
    QAbstractButton* ajouter = nullptr;
    QAbstractButton* dupliquer = nullptr;
    QAbstractButton* modifier = nullptr;
    QAbstractButton* supprimer = nullptr;
    QAbstractButton* fermer = nullptr;
};

enum class SelectionApresRemplissage { PremiereLigne, Aucune };
enum class OrdreLignes { Requete, ParLibelle };

class TFicheListe : public QDialog
{
    Q_OBJECT
public:
    // Empties the list and reads the table again.
    void Remplir();

    void btnAjouterClick();
    void btnDupliquerClick();
    void btnModifierClick();
    void btnSupprimerClick();
    void btnFermerClick();

protected:
    explicit TFicheListe(QWidget* parent);

    // Called once the form is set up: wires the buttons given and sizes the
    // window to its form and the screen (PreparerFenetre). The concrete window
    // then calls Remplir().
    void Installer(QTreeWidget* liste, const BoutonsListe& boutons, const TextesListe& textes,
                   SelectionApresRemplissage selection, OrdreLignes ordre);

    QTreeWidget* Liste() const { return lvListe; }

    // The rows of the table, in the order of its read.
    virtual QVector<LigneRapport> LireLignes() = 0;
    // A fresh edit window of the table, the list as its parent.
    virtual std::unique_ptr<TFicheEdition> CreerEdition();
    // Deletes the record of that key while it still holds what the last
    // LireLignes read of it, and says what became of it.
    virtual Enregistrement SupprimerEnregistrement(const QString& cle);

private:
    QTreeWidget* lvListe = nullptr;
    TextesListe textes;
    SelectionApresRemplissage selection = SelectionApresRemplissage::Aucune;
    OrdreLignes ordre = OrdreLignes::Requete;

    // The selected row; without one, says what it is needed for.
    QTreeWidgetItem* LigneRequise(const QString& action);
    // Selects the row of that key, when the list has it.
    void SelectionnerCle(const QString& cle);
    void OuvrirEdition(const QString& cle, bool duplication);
};
