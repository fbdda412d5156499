#include "ui/pricing/ModelesChiffrage.h"

#include "model/Formats.h"
#include "model/Tarif.h"
#include "pricing/SessionChiffrage.h"
#include "ui/common/ReponsesDuDessin.h"

#include <QColor>

namespace {

constexpr Qt::Alignment kGauche = Qt::AlignLeft | Qt::AlignVCenter;
constexpr Qt::Alignment kDroite = Qt::AlignRight | Qt::AlignVCenter;

// The properties shown after the label of each item, in column order.
const QString kProprietes[] = {QStringLiteral("Quantite"), QStringLiteral("Hauteur"), QStringLiteral("Largeur"),
                               QStringLiteral("Vantail")};

} // namespace

TModeleChiffrage::TModeleChiffrage(const TSessionChiffrage& session, QVector<Colonne> colonnes, QObject* parent)
    : QAbstractTableModel(parent)
    , session(session)
    , colonnes(std::move(colonnes))
{
}

int TModeleChiffrage::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : NombreLignes();
}

int TModeleChiffrage::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : int(colonnes.size());
}

QVariant TModeleChiffrage::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= NombreLignes())
        return {};
    switch (role) {
    case Qt::DisplayRole:
        return Texte(index.row(), index.column());
    case Qt::ToolTipRole:
        // A label cut by its column shows whole.
        return index.column() == 0 ? QVariant(Texte(index.row(), 0)) : QVariant();
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(kGauche);
    case Qt::ForegroundRole:
        return SignalDeLaLigne(index.row()) ? QColor(Qt::red) : QColor(Qt::black);
    default:
        return {};
    }
}

QVariant TModeleChiffrage::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= colonnes.size())
        return {};
    if (role == Qt::DisplayRole)
        return colonnes[section].titre;
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(colonnes[section].alignement);
    return {};
}

void TModeleChiffrage::SuivreRepeintes(QAbstractItemView* vue)
{
    ecarts = new TReponsesDuDessin(vue, [this](int ligne) { return ligne < NombreLignes() && EnEcart(ligne); });
}

bool TModeleChiffrage::SignalDeLaLigne(int ligne) const
{
    return ecarts ? ecarts->Reponse(ligne) : EnEcart(ligne);
}

void TModeleChiffrage::Recharger()
{
    beginResetModel();
    endResetModel();
}

void TModeleChiffrage::RedessinerLigne(int ligne)
{
    if (ligne >= 0 && ligne < NombreLignes())
        emit dataChanged(index(ligne, 0), index(ligne, columnCount() - 1));
}

void TModeleChiffrage::RedessinerTout()
{
    if (NombreLignes() > 0)
        emit dataChanged(index(0, 0), index(NombreLignes() - 1, columnCount() - 1));
}

// ---------------------------------------------------------------------------
// Items

TModeleMenuiseries::TModeleMenuiseries(const TSessionChiffrage& session, QObject* parent)
    : TModeleChiffrage(session,
                       {{QStringLiteral("Menuiserie"), kGauche},
                        {QStringLiteral("Qté"), kGauche},
                        {QStringLiteral("Hauteur"), kDroite},
                        {QStringLiteral("Largeur"), kDroite},
                        {QStringLiteral("Vtx"), kGauche}},
                       parent)
{
    connect(&session, &TSessionChiffrage::DevisRecharge, this, &TModeleMenuiseries::Recharger);
    connect(&session, &TSessionChiffrage::MenuiseriesChangees, this, &TModeleMenuiseries::RedessinerTout);
    connect(&session, &TSessionChiffrage::MenuiserieChangee, this, &TModeleMenuiseries::RedessinerLigne);
    connect(&session, &TSessionChiffrage::TarifChange, this,
            [this](int menuiserie, int) { RedessinerLigne(menuiserie); });
}

int TModeleMenuiseries::NombreLignes() const
{
    return session.GetMenuiseries().Nombre();
}

QString TModeleMenuiseries::Texte(int ligne, int colonne) const
{
    const TMenuiserie& menuiserie = session.GetMenuiseries()[ligne];
    return colonne == 0 ? menuiserie.GetLibelle() : menuiserie.GetProprietes().GetValeur(kProprietes[colonne - 1]);
}

bool TModeleMenuiseries::EnEcart(int ligne) const
{
    return session.MenuiserieEnEcart(ligne);
}

// ---------------------------------------------------------------------------
// Lines of the current item

TModeleTarifs::TModeleTarifs(const TSessionChiffrage& session, QObject* parent)
    : TModeleChiffrage(session,
                       {{QStringLiteral("Tarif de pose"), kGauche},
                        {QStringLiteral("Achat HT"), kGauche},
                        {QStringLiteral("Vente HT"), kDroite},
                        {QStringLiteral("Vente TVA"), kDroite},
                        {QStringLiteral("Vente TTC"), kDroite}},
                       parent)
{
    const auto siCourante = [this](int menuiserie) {
        if (menuiserie == this->session.GetIndexMenuiserie())
            Recharger();
    };
    connect(&session, &TSessionChiffrage::DevisRecharge, this, &TModeleTarifs::Recharger);
    connect(&session, &TSessionChiffrage::MenuiserieCouranteChangee, this, &TModeleTarifs::Recharger);
    connect(&session, &TSessionChiffrage::MenuiseriesChangees, this, &TModeleTarifs::Recharger);
    connect(&session, &TSessionChiffrage::MenuiserieChangee, this, siCourante);
    connect(&session, &TSessionChiffrage::TarifChange, this, [this](int menuiserie, int tarif) {
        if (menuiserie == this->session.GetIndexMenuiserie())
            RedessinerLigne(tarif);
    });
}

int TModeleTarifs::NombreLignes() const
{
    const TMenuiserie* menuiserie = session.MenuiserieCourante();
    return menuiserie ? menuiserie->GetTarifs().Nombre() : 0;
}

QString TModeleTarifs::Texte(int ligne, int colonne) const
{
    const TTarif& tarif = session.MenuiserieCourante()->GetTarifs()[ligne];
    switch (colonne) {
    case 0:
        return tarif.GetLibelle();
    case 1:
        return FormatMonetaire(tarif.GetPoseurPrix());
    case 2:
        return FormatMonetaire(tarif.GetPrix());
    case 3:
        return FormatMonetaire(tarif.PrixTva());
    default:
        return FormatMonetaire(tarif.PrixTtc());
    }
}

bool TModeleTarifs::EnEcart(int ligne) const
{
    return session.EcartPrix(session.GetIndexMenuiserie(), ligne);
}
