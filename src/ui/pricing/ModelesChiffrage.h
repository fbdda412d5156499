#pragma once

// The two lists of the pricing screen as views of the session: the items of
// the quote (lvListe) and the lines of the current item (lvCategorie). A
// model gives each cell's text, alignment, tooltip and colour by role; the
// colour is the price signal, red when the database's reference price of a
// line differs from the line's, asked when the rows are painted (one look-up
// for the rows of a repaint, see TReponsesDuDessin) and never kept longer. The models
// follow the session's signals themselves.

#include <QAbstractTableModel>
#include <QString>
#include <QVector>

class QAbstractItemView;
class TReponsesDuDessin;
class TSessionChiffrage;

class TModeleChiffrage : public QAbstractTableModel
{
public:
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The signal of the rows a repaint of the view covers is looked up
    // together, before anything is drawn. The view owns what this makes.
    void SuivreRepeintes(QAbstractItemView* vue);

    // The column headings, with the alignment of their heading and cells.
    struct Colonne
    {
        QString titre;
        Qt::Alignment alignement;
    };

protected:
    TModeleChiffrage(const TSessionChiffrage& session, QVector<Colonne> colonnes, QObject* parent);

    virtual int NombreLignes() const = 0;
    virtual QString Texte(int ligne, int colonne) const = 0;
    // The price signal of those rows, in one look-up.
    virtual QVector<bool> EnEcart(const QVector<int>& lignes) const = 0;
    // The tooltip of a row's first cell: its whole label, and what the
    // price signal compares when the row carries it.
    virtual QString Infobulle(int ligne) const;
    // The sign drawn before a row's label (none by default).
    virtual QVariant Marque(int ligne) const;

    const TSessionChiffrage& session;

    void Recharger();
    void RedessinerLigne(int ligne);

private:
    QVector<Colonne> colonnes;
    TReponsesDuDessin* ecarts = nullptr;

    bool SignalDeLaLigne(int ligne) const;
};

// The items: "Menuiserie", "Qté", "Hauteur", "Largeur", "Vtx"; red when one
// of the item's lines carries the signal.
class TModeleMenuiseries final : public TModeleChiffrage
{
public:
    TModeleMenuiseries(const TSessionChiffrage& session, QObject* parent);

protected:
    int NombreLignes() const override;
    QString Texte(int ligne, int colonne) const override;
    QVector<bool> EnEcart(const QVector<int>& lignes) const override;
    QString Infobulle(int ligne) const override;
};

// The lines of the current item: "Tarif de pose", "Achat HT", "Vente HT",
// "Vente TVA", "Vente TTC".
class TModeleTarifs final : public TModeleChiffrage
{
public:
    TModeleTarifs(const TSessionChiffrage& session, QObject* parent);

protected:
    int NombreLignes() const override;
    QString Texte(int ligne, int colonne) const override;
    QVector<bool> EnEcart(const QVector<int>& lignes) const override;
    QString Infobulle(int ligne) const override;
    // A line sold under the minimum margin, at a loss, or without its
    // installer's price carries a warning sign; its tooltip says why.
    QVariant Marque(int ligne) const override;
};

// "Prix de la ligne : 90,00 ; prix du tarif : 100,00": the price a line
// carries and its tariff's current one.
QString PrixCompares(const TSessionChiffrage& session, int menuiserie, int tarif);
