#include "ui/pricing/ModelesChiffrage.h"

#include "model/Formats.h"
#include "model/Tarif.h"
#include "pricing/SessionChiffrage.h"
#include "ui/common/ReponsesDuDessin.h"

#include <QApplication>
#include <QColor>
#include <QIcon>
#include <QStyle>
#include <QStringList>
#include <numeric>

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
        return index.column() == 0 ? QVariant(Infobulle(index.row())) : QVariant();
    case Qt::TextAlignmentRole:
        // Labels to the left, figures to the right, under their headings.
        return QVariant::fromValue(colonnes[index.column()].alignement);
    case Qt::DecorationRole:
        return index.column() == 0 ? Marque(index.row()) : QVariant();
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
    ecarts = new TReponsesDuDessin(vue, [this](QVector<int> lignes) {
        lignes.removeIf([this](int ligne) { return ligne >= NombreLignes(); });
        return EnEcart(lignes);
    });
}

QString TModeleChiffrage::Infobulle(int ligne) const
{
    // A label cut by its column shows whole.
    return Texte(ligne, 0);
}

QVariant TModeleChiffrage::Marque(int) const
{
    return {};
}

bool TModeleChiffrage::SignalDeLaLigne(int ligne) const
{
    return ecarts ? ecarts->Reponse(ligne) : EnEcart({ligne}).value(0);
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

// ---------------------------------------------------------------------------
// Items

TModeleMenuiseries::TModeleMenuiseries(const TSessionChiffrage& session, QObject* parent)
    : TModeleChiffrage(session,
                       {{QStringLiteral("Menuiserie"), kGauche},
                        {QStringLiteral("Qté"), kDroite},
                        {QStringLiteral("Hauteur"), kDroite},
                        {QStringLiteral("Largeur"), kDroite},
                        {QStringLiteral("Vtx"), kDroite}},
                       parent)
{
    connect(&session, &TSessionChiffrage::DevisRecharge, this, &TModeleMenuiseries::Recharger);
    // An item is redrawn when its lines change: its signal may.
    const auto redessiner = [this](int menuiserie) { RedessinerLigne(menuiserie); };
    connect(&session, &TSessionChiffrage::TarifChange, this, redessiner);
    connect(&session, &TSessionChiffrage::LignesInserees, this, redessiner);
    connect(&session, &TSessionChiffrage::LignesSupprimees, this, redessiner);
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

QVector<bool> TModeleMenuiseries::EnEcart(const QVector<int>& lignes) const
{
    return session.MenuiseriesEnEcart(lignes);
}

QString TModeleMenuiseries::Infobulle(int ligne) const
{
    QStringList textes{Texte(ligne, 0)};
    const TTarifs& tarifs = session.GetMenuiseries()[ligne].GetTarifs();
    QVector<int> toutes(tarifs.Nombre());
    std::iota(toutes.begin(), toutes.end(), 0);
    const QVector<bool> ecarts = session.EcartsPrix(ligne, toutes);
    for (int tarif = 0; tarif < tarifs.Nombre(); ++tarif) {
        if (ecarts[tarif])
            textes << tarifs[tarif].GetLibelle() + QStringLiteral(" : ") + PrixCompares(session, ligne, tarif);
    }
    return textes.join(QLatin1Char('\n'));
}

// ---------------------------------------------------------------------------
// Lines of the current item

TModeleTarifs::TModeleTarifs(const TSessionChiffrage& session, QObject* parent)
    : TModeleChiffrage(session,
                       {{QStringLiteral("Tarif de pose"), kGauche},
                        {QStringLiteral("Achat HT"), kDroite},
                        {QStringLiteral("Vente HT"), kDroite},
                        {QStringLiteral("Vente TVA"), kDroite},
                        {QStringLiteral("Vente TTC"), kDroite}},
                       parent)
{
    // The rows come and go with the lines, so that a selection follows its
    // line; those of another item are not shown.
    const auto siCourante = [this](auto action) {
        return [this, action](int menuiserie, int premier, int dernier) {
            if (menuiserie == this->session.GetIndexMenuiserie())
                action(premier, dernier);
        };
    };
    connect(&session, &TSessionChiffrage::DevisRecharge, this, &TModeleTarifs::Recharger);
    connect(&session, &TSessionChiffrage::MenuiserieCouranteChangee, this, &TModeleTarifs::Recharger);
    connect(&session, &TSessionChiffrage::LignesAInserer, this,
            siCourante([this](int premier, int dernier) { beginInsertRows(QModelIndex(), premier, dernier); }));
    connect(&session, &TSessionChiffrage::LignesInserees, this, siCourante([this](int, int) { endInsertRows(); }));
    connect(&session, &TSessionChiffrage::LignesASupprimer, this,
            siCourante([this](int premier, int dernier) { beginRemoveRows(QModelIndex(), premier, dernier); }));
    connect(&session, &TSessionChiffrage::LignesSupprimees, this, siCourante([this](int, int) { endRemoveRows(); }));
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

QVector<bool> TModeleTarifs::EnEcart(const QVector<int>& lignes) const
{
    return session.EcartsPrix(session.GetIndexMenuiserie(), lignes);
}

namespace {

QString Pourcentage(double taux)
{
    return FormatMonetaire(taux) + QStringLiteral(" %");
}

// Why a line carries the margin sign; "" when it carries none.
QString TexteMarge(const MargeLigne& marge, double minimum)
{
    const QString taux = marge.taux ? Pourcentage(*marge.taux) : QStringLiteral("non calculable");
    const QString sousMinimum = QStringLiteral("minimum %1").arg(Pourcentage(minimum));
    switch (marge.alerte) {
    case AlerteMarge::AchatManquant:
        return QStringLiteral("Le poseur n'a pas de prix pour cette ligne : marge %1 sans prix d'achat (%2)")
            .arg(taux, sousMinimum);
    case AlerteMarge::Perte:
        return QStringLiteral("Vendu à perte : marge %1 (%2)").arg(taux, sousMinimum);
    case AlerteMarge::SousMinimum:
        return QStringLiteral("Marge %1 sous le %2").arg(taux, sousMinimum);
    case AlerteMarge::Aucune:
        break;
    }
    return QString();
}

} // namespace

QString TModeleTarifs::Infobulle(int ligne) const
{
    const int menuiserie = session.GetIndexMenuiserie();
    QStringList textes{Texte(ligne, 0)};
    if (session.EcartPrix(menuiserie, ligne))
        textes << PrixCompares(session, menuiserie, ligne);
    const QString marge = TexteMarge(session.Marge(menuiserie, ligne), session.GetMargeMinimum());
    if (!marge.isEmpty())
        textes << marge;
    return textes.join(QLatin1Char('\n'));
}

QVariant TModeleTarifs::Marque(int ligne) const
{
    if (session.Marge(session.GetIndexMenuiserie(), ligne).alerte == AlerteMarge::Aucune)
        return {};
    static const QIcon attention = QApplication::style()->standardIcon(QStyle::SP_MessageBoxWarning);
    return attention;
}

QString PrixCompares(const TSessionChiffrage& session, int menuiserie, int tarif)
{
    const double prix = session.GetMenuiseries()[menuiserie].GetTarifs()[tarif].GetPrix();
    const std::optional<double> reference = session.PrixDeReference(menuiserie, tarif);
    return QStringLiteral("prix de la ligne %1, prix du tarif %2")
        .arg(FormatMonetaire(prix), reference ? FormatMonetaire(*reference) : QStringLiteral("disparu"));
}
