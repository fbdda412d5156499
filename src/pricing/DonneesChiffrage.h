#pragma once

// What the pricing session reads of the reference data: the host's VAT
// types, the installation kinds, the installers, the tariffs and the
// hardware catalogue. The program hands the session the database's
// (DonneesDeLaBase); a test may hand it tables of its own and price a quote
// without any database. Look-ups of many lines are one question each: the
// database may be a network away.

#include "model/Pose.h"
#include "model/Tva.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <array>
#include <optional>

class TMenuiseries;
class TQuincailleries;

class TDonneesChiffrage
{
public:
    // A kind as stored; the surcharges in the order of TPoseLivraison's options.
    struct Pose
    {
        QString libelle;
        QString codeExport;
        std::array<double, TPoseLivraison::kNombreOptions> prix{};
        std::array<QString, TPoseLivraison::kNombreOptions> codesExport;
        std::optional<int> typeTva; // nothing when the kind has none
    };

    // What a line records of its installer; all empty for an unknown key.
    struct Poseur
    {
        QString nom;
        QString siret;
        QString rge;
    };

    // The work of a line (its tariff's key) done by an installer.
    struct LignePoseur
    {
        QString idTarif;
        QString idPoseur;
        bool operator==(const LignePoseur&) const = default;
    };

    virtual ~TDonneesChiffrage() = default;

    // The VAT of that type in the host's table; nothing when it has none.
    virtual std::optional<TTva> Tva(int typeTva) const = 0;
    // The kind of that key; nothing unless exactly one row has it.
    virtual std::optional<Pose> LirePose(const QString& idPose) const = 0;
    virtual Poseur LirePoseur(const QString& idPoseur) const = 0;
    // The price each tariff's general row (installer 0, same kind and
    // category) has now; the keys whose row is gone are missing.
    virtual QHash<QString, double> PrixGeneraux(const QStringList& idTarifs) const = 0;
    // Each installer's own price for the work of a line (his row of the
    // line's kind and category, the highest key when several); the lines
    // without a price of their installer are missing.
    virtual QHash<LignePoseur, double> PrixPoseurs(const QVector<LignePoseur>& lignes) const = 0;
    // Every entry of these lists takes the catalogue's current prices
    // (quantities, labels and codes stay; an entry no longer in the
    // catalogue keeps its own); the number of entries changed, list by list.
    virtual QVector<int> ActualiserQuincailleries(const QVector<TQuincailleries*>& listes) const = 0;
    // Attaches to the items carrying a host family code the general tariffs
    // of that kind whose category suits them, when no item has any line.
    virtual void AffecterTarifsAutomatiques(TMenuiseries& menuiseries, const TPoseLivraison& pose) const = 0;
};

inline size_t qHash(const TDonneesChiffrage::LignePoseur& ligne, size_t graine = 0)
{
    return qHashMulti(graine, ligne.idTarif, ligne.idPoseur);
}

// The reference data of the database the program opened.
const TDonneesChiffrage& DonneesDeLaBase();
