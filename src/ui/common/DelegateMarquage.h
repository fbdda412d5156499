#pragma once

// Draws in red the text of the rows of a view that a test marks, such as an
// entry whose catalogue prices have changed since it was priced. The test is
// asked at paint time, so the marking follows the data it looks up, and for
// the rows of a repaint together rather than once per cell. Cut texts and their tooltips
// are those of TDelegateTexte; editing is left to the standard delegate.

#include "ui/common/DelegateTexte.h"
#include "ui/common/ReponsesDuDessin.h"

class QAbstractItemView;

class TDelegateMarquage : public TDelegateTexte
{
public:
    // marquees tells, for row indexes, whether each row is drawn in red. The
    // view takes the delegate and owns it.
    TDelegateMarquage(QAbstractItemView* vue, TReponsesDuDessin::Question marquees);

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override;

private:
    TReponsesDuDessin* marques;
};
