#pragma once

// "Détail des quincailleries": a copy of one hardware list, the hardware of
// a line for its item or the quote's own for all items. Entries are added
// from the catalogue with quantities from the items' dimensions, removed,
// recomputed or typed in the grid; only the "Quantité" column can be
// edited. Rows whose catalogue prices have changed are drawn in red. Once
// the dialog has closed the caller reads the list as it was left.

#include "model/Quincaillerie.h"
#include "pricing/QuantitesQuincaillerie.h"
#include "ui/common/FicheActivable.h"

#include <QStringList>
#include <memory>

class TMenuiserie;
class TMenuiseries;
class QTableWidgetItem;

namespace Ui {
class TFicheQuincaillerieDetail;
}

class TFicheQuincaillerieDetail : public TFicheActivable
{
    Q_OBJECT

public:
    explicit TFicheQuincaillerieDetail(QWidget* parent);
    ~TFicheQuincaillerieDetail() override;

    // The items whose dimensions count; the dialog neither owns nor changes
    // them. Set before showing.
    void SetMenuiseries(const MenuiseriesConcernees& menuiseries);
    void SetMenuiseries(const TMenuiserie& menuiserie) { SetMenuiseries(MenuiseriesConcernees{&menuiserie}); }
    void SetMenuiseries(const TMenuiseries& menuiseries) { SetMenuiseries(ToutesLesMenuiseries(menuiseries)); }
    // The list to edit, copied. Set before showing.
    void SetQuincailleries(const TQuincailleries& quincailleries);
    // The list as the user left it (quantities typed included, once closed).
    const TQuincailleries& GetQuincailleries() const { return quincailleries; }

    void btnRecalculerClick();
    void btnAjouterClick();
    void btnSupprimerClick();
    void sgListeSelectCell(int ligne, int colonne);
    void sgListeSetEditText(QTableWidgetItem* cellule);

    // Closing stores the quantities typed in the grid.
    void done(int resultat) override;

protected:
    // Shows the sums of the items' dimensions and the list as it is now.
    void FormActivate() override;

private:
    std::unique_ptr<Ui::TFicheQuincaillerieDetail> ui;
    MenuiseriesConcernees menuiseries;
    QStringList illisiblesSignales;
    bool remplissage = false;
    TQuincailleries quincailleries;
    // The refusal of a quantity typed, to be said once the grid's editor has closed.
    QString refusASignaler;

    SommesDimensions AfficherSommes();
    void AfficherListe();
    void AfficherTotaux();
    // The grid's quantity cells into the entries (an edit in progress included).
    void EnregistrerQuantites();
    void SignalerRefus();
    QVector<bool> LignesEnEcart(const QVector<int>& lignes) const;
};
