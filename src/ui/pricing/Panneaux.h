#pragma once

// What the panels of the pricing screen share. Each panel is a part of the
// screen's form (its controls keep their names there) that shows one
// concern of the pricing session and forwards the user's actions to it;
// Lier binds it once the form is built.

#include <QObject>
#include <QString>
#include <functional>
#include <optional>

class QEvent;
class QLabel;
class QListWidget;
class QTreeView;
class QWidget;
class TListeSuivie;
class TModeleChiffrage;
struct Montants;

// The installation kind choice, preset on a kind; nothing unless the user
// chose one.
std::optional<QString> ChoisirPose(QWidget* parent, const QString& idPose);

// An icon list of one kind icon, its caption wrapped under the image.
void PreparerIconePose(QListWidget* icone);
void EcrireLibelleIcone(QListWidget* icone, const QString& libelle);

// Purchase, sale, VAT and sale with VAT into their four labels.
void AfficherMontants(const Montants& montants, QLabel* achat, QLabel* ht, QLabel* tva, QLabel* ttc);
// "12,50 %"; "" for a sale of 0.
QString TexteMarge(const std::optional<double>& taux);

// A list whose selected row follows an index of the session: the rows the
// screen selects to follow it are not taken for the user's choice, nor are
// those the list moves while rows come and go.
class TListeSuivie : public QObject
{
    Q_OBJECT

public:
    // Made once the list has its model.
    explicit TListeSuivie(QTreeView* liste);

    // Selects that row (none for -1), as the session says.
    void Suivre(int rang);
    // The selected row; -1 when none is (a row may be current, unselected).
    int Selection() const;
    // While rows come and go, the list's own moves are not the user's.
    void Suspendre(bool suspendue) { this->suspendue = suspendue; }

signals:
    // The row the user made current: the selected one, or, when he took
    // the selection off a row (Ctrl+click), that row, which stays current.
    void Choisie(int rang);

private:
    QTreeView* liste;
    bool suivi = false;
    bool suspendue = false;

    void SelectionChangee();
};

// One of the screen's two lists shows that model of the session: its
// columns' widths, fixed headings, rows drawn with their price signal (one
// look-up per repaint); its selection then follows the session.
TListeSuivie* PreparerListe(QTreeView* vue, TModeleChiffrage* modele, std::initializer_list<int> largeurs);

// Runs an action for some events of a control, which it may keep from it.
class FiltreEvenements : public QObject
{
public:
    FiltreEvenements(QWidget* cible, std::function<bool(QEvent*)> action);

protected:
    bool eventFilter(QObject*, QEvent* evenement) override;

private:
    std::function<bool(QEvent*)> action;
};

bool EstAppuiSouris(const QEvent* evenement);
