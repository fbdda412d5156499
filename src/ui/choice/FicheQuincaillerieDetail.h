#pragma once

// "Détail des quincailleries": one hardware list edited in place, the
// hardware of a line for its item or the quote's own for all items. Entries
// are added from the catalogue with quantities from the items' dimensions,
// removed, recomputed or typed in the grid; only the "Quantité" column can be
// edited. Rows whose catalogue prices have changed are drawn in red. The
// caller reads the amounts of the list again once the dialog has closed:
// every change has already been made on its list.

#include "pricing/QuantitesQuincaillerie.h"
#include "ui/common/FicheActivable.h"

#include <memory>

class TMenuiserie;
class TMenuiseries;
class TQuincailleries;

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
    // The list edited in place (not owned). Set before showing.
    void SetQuincailleries(TQuincailleries* quincailleries);

    void btnRecalculerClick();
    void btnAjouterClick();
    void btnSupprimerClick();
    void sgListeSelectCell(int ligne, int colonne);

    // Closing stores the quantities typed in the grid.
    void done(int resultat) override;

protected:
    // Shows the sums of the items' dimensions and the list as it is now.
    void FormActivate() override;

private:
    std::unique_ptr<Ui::TFicheQuincaillerieDetail> ui;
    MenuiseriesConcernees menuiseries;
    TQuincailleries* quincailleries = nullptr;

    SommesDimensions AfficherSommes();
    void AfficherListe();
    void AfficherTotaux();
    // The grid's quantity cells into the entries (an edit in progress included).
    void EnregistrerQuantites();
    void TerminerSaisie();
    bool LigneEnEcart(int ligne) const;
};
