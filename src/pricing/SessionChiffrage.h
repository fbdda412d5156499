#pragma once

// The quote being priced, the document of the pricing screen: it owns the
// quote (the quote-wide installation kind with its delivery options, the
// items, the quote-wide hardware), the current item and the current line,
// and applies every rule of pricing: the opening (the exchange file, an
// interrupted session taken back, the default kind when the file names
// none, the automatic lines), the kinds, the VAT of lines and items, the
// lines and their installers, the hardware, the refresh of the prices, the
// totals, what is left to do and the answer written back for the host.
//
// Every change the user makes is one step of its undo stack: undone, the
// quote is again exactly what it was, and nothing is asked of the database
// again. The quote is modified while the stack is not at its clean state.
// While the session is open, the answer it would write is kept in a
// recovery file beside the archive copies, so that a session stopped before
// "Valider" can be taken back. It says what changed through its signals;
// nothing here knows a window. Items and lines are named by their index in
// the quote.

#include "model/Formats.h"
#include "model/Menuiserie.h"
#include "model/Pose.h"
#include "model/Quincaillerie.h"
#include "pricing/Marges.h"
#include "pricing/ResteAFaire.h"
#include "pricing/Totaux.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QUndoStack>
#include <functional>
#include <memory>
#include <optional>

class TDonneesChiffrage;
class TFichierReprise;
class TTarif;
struct DevisEchange;

// The line to make current once line `index` is gone and `restantes` are
// left: the one before it, the first when the first went, none when empty.
std::optional<int> LigneApresSuppression(int index, int restantes);

class TSessionChiffrage : public QObject
{
    Q_OBJECT

public:
    using OptionLivraison = TPoseLivraison::OptionLivraison;
    // A question put to the user, answered "Oui" (true) or "Non".
    using Question = std::function<bool(const QString& texte)>;

    // The archive folder "Xml/" of the program folder is made (one level;
    // when it cannot be, the archive copies fail and say so). No file is
    // written before the quote is read. The reference data are the
    // database's, or those given, which must outlive the session.
    explicit TSessionChiffrage(const QString& dossierProgramme, QObject* parent = nullptr);
    TSessionChiffrage(const QString& dossierProgramme, const TDonneesChiffrage& donnees, QObject* parent = nullptr);
    ~TSessionChiffrage() override;

    void SetFichierEchange(const QString& fichier) { fichierEchange = fichier; }
    const QString& GetFichierEchange() const { return fichierEchange; }
    const QString& GetDossierXml() const { return dossierXml; }
    // The archive copies' "Xml/yyyymmdd_hhnnss", one that no other copy of
    // the program has taken; "" until the quote is first read.
    const QString& GetPrefixeHorodate() const { return prefixeHorodate; }
    // The recovery file the session keeps: the prefix followed by ".reprise.xml".
    QString GetFichierReprise() const;

    // The quote as it is; it changes only through the operations below.
    const TPoseLivraison& GetPoseGlobale() const { return poseGlobale; }
    const TMenuiseries& GetMenuiseries() const { return menuiseries; }
    const TQuincailleries& GetQuincailleriesGlobales() const { return quincailleriesGlobales; }
    bool GetPriseDeCote() const { return priseDeCote; }
    void SetPriseDeCote(bool valeur);

    // ---------------------------------------------------------------------
    // Steps of the user's work

    // "Annuler" and "Rétablir" walk it; its texts say what they would undo
    // or redo ("ajout de la ligne « … »").
    QUndoStack& GetPile() { return pile; }
    const QUndoStack& GetPile() const { return pile; }
    // True when the quote differs from what the session opened on (or it
    // took back an interrupted session): the stack is not at its clean state.
    bool EstModifie() const { return !pile.isClean(); }

    // ---------------------------------------------------------------------
    // Current item and line: indexes, -1 for none.

    int GetIndexMenuiserie() const { return indexMenuiserie; }
    int GetIndexTarif() const { return indexTarif; }
    const TMenuiserie* MenuiserieCourante() const;
    const TTarif* TarifCourant() const;
    // The item becomes current with its first line (none when it has none).
    void SetMenuiserieCourante(int index);
    // A line of the current item; -1 leaves no current line.
    void SetTarifCourant(int index);

    // ---------------------------------------------------------------------
    // Opening

    // What the opening asks of the user, in this order: told that the
    // archive copy of the input could not be written (the quote is priced
    // all the same); told that the recovery file of an interrupted session
    // of this quote cannot be read (it stays where it is), or asked whether
    // to take that session back; then asked for the default kind when the
    // quote names none (preset on the current one; nothing unless he chose
    // one).
    struct Interlocuteur
    {
        std::function<void(const QString& message)> signalerArchive;
        std::function<std::optional<QString>(const QString& idPose)> choisirPose;
        std::function<void(const QString& message)> signalerReprise = {};
        Question reprendre = {};
    };

    // Delivery is chosen, the exchange file read (see Charger), an
    // interrupted session of the same input offered (taken back, the quote
    // is the one it held, read as the host's answer is read, and counts as
    // modified; declined, it is set aside), the default kind asked for when
    // the quote names none, the automatic lines attached, the first item
    // made current, and a kind chosen here spread to every item and line.
    // None of it is a step of the stack. The recovery file is kept from
    // then on. Throws, leaving the quote as it was, when the file cannot be
    // taken.
    void Ouvrir(const Interlocuteur& interlocuteur);

    // Reads the exchange file (see LireEchange, which also writes the archive
    // copy of the input). A delivery option the file does not give keeps its
    // state; a sub-option read as chosen implies delivery. Returns the
    // message to show when the archive copy of the input failed ("" when it
    // was written). Throws, leaving the quote as it was, when the file
    // cannot be taken.
    QString Charger();
    // Takes a quote read from an exchange file as the session's, as Charger
    // does; no item is current, and the stack starts again.
    void PrendreDevis(DevisEchange devis);

    // The general tariffs of the quote-wide kind whose category suits each
    // item carrying a host family code; only when no item has any line yet.
    // One step; returns the number of lines added.
    int AffecterTarifsAutomatiques();
    // True when the user dismissed the kind choice of the opening, has
    // chosen a kind since, and no item has any line: the automatic lines of
    // that kind may be offered.
    bool TarifsAutomatiquesAProposer() const;

    // ---------------------------------------------------------------------
    // Quote-wide kind and delivery

    // Makes that kind the quote-wide one: the delivery price and the three
    // sub-options are reset, the label, export codes, surcharge prices and
    // VAT are read from the database (a kind that is gone keeps the former
    // ones), and every item takes the kind and every line its VAT. False,
    // changing nothing, when it is the kind already chosen.
    bool ChoisirPoseGlobale(const QString& idPose);
    // Every item takes the quote-wide kind, every line its VAT.
    void DiffuserPoseGlobale();

    // Sets one delivery option: no sub-option without delivery, and clearing
    // delivery clears them all.
    void ChoisirOption(OptionLivraison option, bool choisie);
    void SetPrixLivraison(OptionLivraison option, double prix);
    // A price as typed: a number with the regional separator, taken to the
    // cent (LireMontantSaisi); any other text, -1 (the mark of "not a
    // number") and an amount beyond the bound are refused, and the price
    // stays. Returns why it was refused (RefusMontant::Aucun when taken).
    RefusMontant SaisirPrixLivraison(OptionLivraison option, const QString& texte);

    // ---------------------------------------------------------------------
    // Kind and VAT of an item, VAT of a line

    // Makes that kind the item's: label, VAT and export code read from the
    // database (a kind that is gone keeps the former ones), then every line
    // of the item takes the kind's VAT. False, changing nothing, when it is
    // the item's kind already.
    bool ChoisirPoseMenuiserie(int menuiserie, const QString& idPose);

    // The line takes the VAT of the type carried by a list entry (a type the
    // VAT table lacks changes nothing).
    void AffecterTvaTarif(int menuiserie, int tarif, const QString& typeTva);
    // The item's kind takes the VAT of that type; false when the table lacks it.
    bool AffecterTvaMenuiserie(int menuiserie, const QString& typeTva);
    // Every line of the item takes the VAT of the item's kind.
    void DiffuserTvaMenuiserie(int menuiserie);

    // The user's choice of a line's VAT, one step: the line takes it; when
    // the item carries another VAT (or one the table lacks), he is asked
    // whether the item takes it too, and then as for ChoisirTvaMenuiserie.
    void ChoisirTvaTarif(int menuiserie, int tarif, const QString& typeTva, const Question& question);
    // The user's choice of an item's VAT, one step: the item takes it; when
    // it differs from the former one and the item has lines, he is asked
    // whether every line takes it too.
    void ChoisirTvaMenuiserie(int menuiserie, const QString& typeTva, const Question& question);

    // ---------------------------------------------------------------------
    // Lines

    // A tariff as the tariff choice hands it back.
    struct ChoixTarif
    {
        QString id;
        QString libelle;
        double prix = 0.0;
    };

    // Appends a line for that tariff (TTarif::Nouveau under the item's
    // kind), with the installer the item's lines agree on (TTarifs::
    // PoseurHerite), named and priced as PrixPoseur prices him; the line
    // becomes current. Returns its index.
    int AjouterTarif(int menuiserie, const ChoixTarif& choix);
    // Appends a copy of the line (its hardware copied too, and included; no
    // SIRET or RGE); the copy becomes current. Returns its index.
    int DupliquerTarif(int menuiserie, int tarif);
    // The line takes another tariff (TTarif::PrendreTarif under the item's
    // kind); installer, VAT, hardware and its flag stay.
    void ModifierTarif(int menuiserie, int tarif, const ChoixTarif& choix);
    // Removes the line; the current one is then the line LigneApresSuppression names.
    void SupprimerTarif(int menuiserie, int tarif);
    void SupprimerTarifs(int menuiserie);

    // ---------------------------------------------------------------------
    // Installers

    // What an installer charges for the work of a line of that tariff: his
    // row of the tariff's own kind and category, the highest key when he has
    // several; 0 when he has none. Every line given an installer, and the
    // refresh, price him so (TDonneesChiffrage::PrixPoseurs).
    double PrixPoseur(const QString& idTarif, const QString& idPoseur) const;
    // The installer of a line: his name, SIRET and RGE from the database and
    // his price for the line's work (PrixPoseur). Returns his name.
    QString AffecterPoseur(int menuiserie, int tarif, const QString& idPoseur);
    // Lines of the quote with a label and without installer (no name).
    int NombreTarifsSansPoseur() const;
    // Each of those lines takes the installer, priced for its own tariff
    // (PrixPoseur); their SIRET and RGE are left as they are.
    void AffecterPoseurATous(const QString& idPoseur, const QString& nom);
    // The user's choice of a line's installer, one step: AffecterPoseur,
    // then, when lines are left without installer, the question whether
    // they all take him.
    void ChoisirPoseur(int menuiserie, int tarif, const QString& idPoseur, const Question& question);
    // The installer's name as the database has it now ("" when the line has
    // no installer, or the key matches no single installer).
    QString NomPoseur(int menuiserie, int tarif) const;

    // ---------------------------------------------------------------------
    // Hardware

    void SetQuincaillerieIncluse(int menuiserie, int tarif, bool incluse);
    // The line's hardware, or the quote-wide one, replaced by an edited copy
    // (no step when the copy says the same).
    void RemplacerQuincailleries(int menuiserie, int tarif, const TQuincailleries& quincailleries);
    void RemplacerQuincailleriesGlobales(const TQuincailleries& quincailleries);

    // What a refresh changed.
    struct Actualisation
    {
        int prixVente = 0;      // lines whose sale price changed
        int prixPoseur = 0;     // lines whose installer's price changed
        int quincailleries = 0; // hardware entries with a changed value
    };
    // Every stored price as the database has it now: the lines' sale prices
    // (general tariff), the prices of the lines that have an installer
    // (PrixPoseur), and the prices of all hardware. Labels, installers, VAT and
    // quantities stay; a row that is gone leaves its values.
    Actualisation ActualiserPrix();

    // ---------------------------------------------------------------------
    // Amounts, signal, what is left, answer

    // Always those of the current objects.
    TotauxDevis Totaux() const;
    // The current item's, with its own quantity field; zero without one.
    Montants TotauxMenuiserieCourante() const;
    // The current line's hardware; zero without a current line.
    Montants MontantsQuincaillerieCourante() const;

    // The minimum margin, in per cent, against which lines are marked.
    void SetMargeMinimum(double minimum) { margeMinimum = minimum; }
    double GetMargeMinimum() const { return margeMinimum; }
    MargeLigne Marge(int menuiserie, int tarif) const;
    // The current item's margin and the quote's (nothing for a sale of 0).
    std::optional<double> MargeMenuiserieCourante() const;
    std::optional<double> MargeDevis() const;

    // The red signal: the line's sale price differs from its general tariff's.
    bool EcartPrix(int menuiserie, int tarif) const;
    // The general tariff's price the line's sale price is compared with;
    // nothing when its row is gone.
    std::optional<double> PrixDeReference(int menuiserie, int tarif) const;
    bool MenuiserieEnEcart(int menuiserie) const;
    // The same for many lines of an item, or many items (the rows of a
    // repaint), in one look-up, in the order given.
    QVector<bool> EcartsPrix(int menuiserie, const QVector<int>& tarifs) const;
    QVector<bool> MenuiseriesEnEcart(const QVector<int>& indexes) const;

    // What is probably unfinished, in one look-up.
    ResteAFaire Reste() const;

    // The bytes "Valider" would write now.
    QByteArray ContenuReponse() const;
    // Writes the answer over the exchange file (throws, leaving the file as
    // it was, when it cannot be), then its archive copy; returns the message
    // to show when only the copy failed ("" when both were written).
    QString EcrireReponse();
    // The session ended as the user wished: validated, or its changes
    // dropped. The recovery file goes.
    void Terminer();

    // Forgets the quote (the screen is closing; nothing is written).
    void Vider();

signals:
    // The whole quote was read or emptied.
    void DevisRecharge();
    // The quote-wide kind: its label, VAT, delivery prices and options.
    void PoseGlobaleChangee();
    // The delivery options chosen.
    void OptionsLivraisonChangees();
    void PriseDeCoteChangee();
    void QuincailleriesGlobalesChangees();
    // One item: its kind or its VAT.
    void MenuiserieChangee(int menuiserie);
    // Lines of an item about to come or go, then come or gone (first to
    // last index, both included).
    void LignesAInserer(int menuiserie, int premier, int dernier);
    void LignesInserees(int menuiserie, int premier, int dernier);
    void LignesASupprimer(int menuiserie, int premier, int dernier);
    void LignesSupprimees(int menuiserie, int premier, int dernier);
    // One line: its tariff, VAT, installer or hardware.
    void TarifChange(int menuiserie, int tarif);
    // Some amount of the totals: once per change, undone or redone.
    void TotauxChanges();
    void MenuiserieCouranteChangee();
    void TarifCourantChange();

private:
    class Changement;
    class ChangementDevis;
    class ChangementPoses;
    class ChangementLignes;
    class ChangementQuincailleries;
    class ChangementStructure;
    class Etape;

    const TDonneesChiffrage& donnees;
    QString fichierEchange;
    QString dossierXml;
    QString prefixeHorodate;
    TPoseLivraison poseGlobale;
    TMenuiseries menuiseries;
    TQuincailleries quincailleriesGlobales;
    bool priseDeCote = true;
    double margeMinimum = 0.0;
    int indexMenuiserie = -1;
    int indexTarif = -1;
    bool poseRefuseeAOuverture = false;

    QUndoStack pile;
    // The step being made: the changes of a rule that asks questions, or
    // calls other rules, all go into one step.
    Etape* etapeOuverte = nullptr;
    std::unique_ptr<TFichierReprise> reprise;
    QTimer minuterieReprise;

    TMenuiserie& Menuiserie(int index) { return menuiseries[index]; }
    TTarif& Tarif(int menuiserie, int tarif);
    const TTarif& Tarif(int menuiserie, int tarif) const;
    std::optional<TTva> Tva(const QString& typeTva) const;
    const QString& PrefixeReserve();
    void LibererReservation();
    QString MessageArchive(const QString& suffixe, const QString& erreur) const;

    // Opening.
    bool ProposerReprise(const Interlocuteur& interlocuteur);
    void DemarrerReprise();
    void EcrireReprise();

    // Steps: `action` makes its changes with Faire; they form one step of
    // the stack, or join the step being made. A failure undoes what the
    // step had done, then goes on.
    template <class Action>
    void Modifier(const QString& texte, Action&& action);
    void Faire(std::unique_ptr<Changement> changement);
    void Placer(int menuiserie, int tarif);

    // The changes, as steps make them and undo or redo them; each says what
    // changed through the signals.
    void EcrireDevis(const TPoseLivraison& pose, bool cotes);
    void EcrirePose(int menuiserie, const TPose& pose);
    void EcrireValeurs(int menuiserie, int tarif, const TTarif& valeurs);
    void EcrireQuincailleries(int menuiserie, int tarif, const TQuincailleries& quincailleries);
    void InsererLignes(int menuiserie, int premier, std::vector<std::unique_ptr<TTarif>>& lignes);
    void ExtraireLignes(int menuiserie, int premier, int nombre, std::vector<std::unique_ptr<TTarif>>& lignes);

    // The new state of the quote-wide kind, of some items' kinds, of some
    // lines' values, made as one change each.
    void ChangerDevis(const std::function<void(TPoseLivraison& pose, bool& cotes)>& changer);
    void ChangerLignes(const QVector<std::pair<int, int>>& lignes, const std::function<void(TTarif& valeurs, int i)>& changer);
    void ChangerPoses(const QVector<int>& indexes, const std::function<void(TPose& pose)>& changer);
    QVector<std::pair<int, int>> LignesDe(int menuiserie) const;
    QVector<std::pair<int, int>> ToutesLesLignes() const;
    QVector<int> ToutesLesMenuiseries() const;
    QString NomLigne(int menuiserie, int tarif) const;
};
