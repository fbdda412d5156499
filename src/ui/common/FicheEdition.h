#pragma once

// Base of the modal edit windows of the maintenance lists. The caller gives
// the key of the record as text (empty for a new one) and, for a copy, the
// duplicate mode, then calls exec(). The record is loaded when the window is
// first shown; in duplicate mode the key is then forgotten, so that saving
// creates a new record. "Valider" runs the checks in order and saves; the
// first failure shows its message and keeps the window open; a record that
// another copy changed or deleted since it was read is not written over.
// "Annuler" closes without writing anything, and so does a failure to read
// the record. A stored text longer than its edit holds (a database filled
// before the imports cut long texts) is said so when the record is loaded,
// and stays whole unless the user changes its field.

#include <QDialog>
#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

class QAbstractButton;
class QLineEdit;
enum class Enregistrement;

// Said after the message of an amount beyond the program's bound.
inline const QString kMontantHorsLimites =
    QStringLiteral("\nLe montant doit rester inférieur à mille milliards en valeur absolue.");

class TFicheEdition : public QDialog
{
    Q_OBJECT
public:
    void SetCle(const QString& valeur) { cle = valeur; }
    const QString& GetCle() const { return cle; }
    void SetDuplication(bool valeur) { duplication = valeur; }
    bool GetDuplication() const { return duplication; }

    void btnValiderClick();
    void btnFermerClick();

protected:
    explicit TFicheEdition(QWidget* parent);

    // Called once the form is set up: wires the two buttons and sizes the
    // window to its form and the screen (PreparerFenetre).
    void Installer(QAbstractButton* valider, QAbstractButton* annuler);

    // Fills the controls from the record named by the key (if any).
    virtual void Charger() {}
    // Checks then saves. True closes the window with OK; false keeps it open
    // (a check failed, or the window is meant to stay open after its work).
    virtual bool Enregistrer() = 0;

    // Shows the message of a failed check, puts the focus into the control
    // at fault (if given) and returns false, for "return Refuser(...)".
    bool Refuser(const QString& message, QWidget* fautif = nullptr);

    // The amount typed in the edit, when it is a number of at least zero
    // within the program's bound; otherwise nothing, once Refuser has shown
    // the message (followed by kMontantHorsLimites for a number beyond the
    // bound) and put the focus there.
    std::optional<double> MontantSaisi(QLineEdit* edition, const QString& message);

    // The end of a save that wrote only over what the window read: true when
    // it was written. Otherwise says that another user changed the record
    // (cetEnregistrement: "cette pose") and shows it as it is stored now, or
    // that he deleted it and closes the window with Cancel; false.
    bool Conclure(Enregistrement enregistrement, const QString& cetEnregistrement);

    // The label of a loaded record, with " - copie" appended in duplicate mode.
    QString LibelleCharge(const QString& libelle) const;

    // Puts a text of the loaded record into its edit (AfficherLibelle: the
    // label, through LibelleCharge); `champ` names the field in a message
    // ("du libellé"). A stored text longer than the edit holds shows cut and,
    // once the record is loaded, the window says so: saved without a change
    // to that field the record keeps it whole, while a copy keeps what the
    // edit shows.
    void AfficherTexte(QLineEdit* edition, const QString& texte, const QString& champ);
    void AfficherLibelle(QLineEdit* edition, const QString& libelle, const QString& champ);
    // The text to save from an edit: the whole text AfficherTexte gave it
    // while the user has not changed the field, else what the edit holds.
    QString TexteSaisi(const QLineEdit* edition) const;

    void showEvent(QShowEvent* evenement) override;

private:
    QString cle;
    bool duplication = false;
    bool charge = false;
    // The stored texts longer than their edits, and what the window says of
    // them, for the record last loaded.
    QHash<const QLineEdit*, QString> textesEntiers;
    QStringList textesTropLongs;

    // Charger, then what it found too long for its edits; false when the
    // record could not be read (the error shown).
    bool ChargerEnregistrement();
    void Afficher(QLineEdit* edition, const QString& texte, const QString& enregistre, const QString& champ);
};
