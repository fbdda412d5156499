#pragma once

#include "data/Tarifs.h"

#include <QDialog>
#include <QString>
#include <memory>

namespace Ui {
class TFicheTarifListe;
}
class QComboBox;

// The tariff grid of one installation kind and one installer (or the
// general sale tariff): one row per category, its price typed in place.
// The prices changed are saved on "Sauvegarder", before the choice
// changes, before an export, a copy or an import, and when the window
// closes; a grid left as it was read writes nothing. A grid with a price
// that cannot be taken is not saved at all: the row is shown and the window
// keeps its choice until the price is corrected. A price that another copy
// changed since the grid was read keeps that copy's value: the rows are
// said, the grid shows them again and keeps its choice.
class TFicheTarifListe : public QDialog
{
    Q_OBJECT
public:
    explicit TFicheTarifListe(QWidget* parent);
    ~TFicheTarifListe() override;

    void cmbPoseChange();
    void cmbPoseurChange();
    void btnValiderClick();
    void btnExporterClick();
    void btnImporterClick();
    void btnCopieTarifClick();
    void sgListeCelluleChange(int ligne, int colonne);

    // Closing saves the grid first; the window stays open when it cannot.
    void done(int resultat) override;

private:
    std::unique_ptr<Ui::TFicheTarifListe> ui;
    // The kind and installer for which the grid is loaded, and their names.
    Tarifs::Choix choix;
    QString nomPose;
    QString nomPoseur;
    // The rows as the grid was read, by row.
    QVector<Tarifs::LigneGrille> lue;

    enum class Sauvegarde { Faite, Refusee, Laissee, Echouee };

    void RemplirListes();
    void ChargerGrille();
    // Saves the grid under the choice it was loaded for.
    Sauvegarde Sauvegarder();
    // Saves, then reloads the grid so that new tariffs carry their keys.
    bool SauvegarderEtRecharger();
    void ChoixChange();
    void RetablirChoix();
    // The prices as typed, by row.
    QStringList Prix() const;
    void MontrerRefus(const Tarifs::RefusGrille& refus);
    // Shows the rows another copy changed as they are now, and says so.
    void MontrerLaissees(const QVector<int>& lignes);
    void SelectionnerPrix(int ligne);
};
