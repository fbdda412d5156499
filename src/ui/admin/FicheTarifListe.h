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
// The grid is saved on "Sauvegarder", before the choice changes, before an
// export, a copy or an import, and when the window closes. A grid with a
// price that is not a number is not saved at all: the row is shown and the
// window keeps its choice until the price is corrected.
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

    enum class Sauvegarde { Faite, Refusee, Echouee };

    void RemplirListes();
    void ChargerGrille();
    // Saves the grid under the choice it was loaded for.
    Sauvegarde Sauvegarder();
    // Saves, then reloads the grid so that new tariffs carry their keys.
    bool SauvegarderEtRecharger();
    void ChoixChange();
    void RetablirChoix();
    QVector<Tarifs::PrixSaisi> Saisies() const;
    void MontrerRefus(const Tarifs::RefusGrille& refus);
    void SelectionnerPrix(int ligne);
};
