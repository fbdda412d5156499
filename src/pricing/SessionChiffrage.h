#pragma once

// The quote being priced and its rules, below the pricing screen: loading
// from the host's exchange file, the quote-wide installation kind with its
// delivery options, the automatic lines, the VAT of lines and items, the
// totals and the answer written back for the host. The screen shows what
// this holds and forwards the user's actions; nothing here knows a window.

#include "model/Menuiserie.h"
#include "model/Pose.h"
#include "model/Quincaillerie.h"
#include "pricing/Totaux.h"

#include <QString>
#include <optional>

class TTarif;

class TSessionChiffrage
{
public:
    using OptionLivraison = TPoseLivraison::OptionLivraison;

    // The archive folder "Xml/" of the program folder is made (one level;
    // when it cannot be, the archive copies fail and say so) and the time
    // stamp shared by the archive copies of this session is taken now.
    explicit TSessionChiffrage(const QString& dossierProgramme);

    void SetFichierEchange(const QString& fichier) { fichierEchange = fichier; }
    const QString& GetFichierEchange() const { return fichierEchange; }
    const QString& GetDossierXml() const { return dossierXml; }
    const QString& GetPrefixeHorodate() const { return prefixeHorodate; }

    const TPoseLivraison& GetPoseGlobale() const { return poseGlobale; }
    TMenuiseries& GetMenuiseries() { return menuiseries; }
    const TMenuiseries& GetMenuiseries() const { return menuiseries; }
    TQuincailleries& GetQuincailleriesGlobales() { return quincailleriesGlobales; }
    const TQuincailleries& GetQuincailleriesGlobales() const { return quincailleriesGlobales; }
    bool GetPriseDeCote() const { return priseDeCote; }
    void SetPriseDeCote(bool valeur) { priseDeCote = valeur; }

    // What the exchange file held, so the screen knows what to show, and the
    // message to show when the archive copy of the input failed ("" when it
    // was written; the quote is priced all the same).
    struct Chargement
    {
        bool aPose = false;
        bool aCotes = false;
        bool aGlobal = false;
        QString messageArchive;
    };

    // Reads the exchange file (see LireEchange, which also writes the archive
    // copy of the input). A delivery option the file does not give keeps its
    // state; a sub-option read as chosen implies delivery. Throws, leaving the
    // quote as it was, when the file cannot be taken.
    Chargement Charger();

    // The general tariffs of the quote-wide kind whose category suits each
    // item carrying a host family code; only when no item has any line yet.
    void AffecterTarifsAutomatiques();

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
    void SetPrixLivraison(OptionLivraison option, double prix) { poseGlobale.SetPrix(option, prix); }

    // The line takes the VAT of the type carried by a list entry (a type the
    // VAT table lacks changes nothing).
    void AffecterTvaTarif(TTarif& tarif, const QString& typeTva);
    // The item's kind takes the VAT of that type; false when the table lacks it.
    bool AffecterTvaMenuiserie(TMenuiserie& menuiserie, const QString& typeTva);
    // Every line of the item takes the VAT of the item's kind.
    void DiffuserTvaMenuiserie(TMenuiserie& menuiserie);

    // Installation kind of one item. Its kind is asked for before a tariff
    // when its key sorts before "1" as text (no kind, "0").
    static bool PoseMenuiserieAChoisir(const TMenuiserie& menuiserie);
    // Makes that kind the item's: label, VAT and export code read from the
    // database (a kind that is gone keeps the former ones), then every line
    // of the item takes the kind's VAT. False, changing nothing, when it is
    // the item's kind already.
    bool ChoisirPoseMenuiserie(TMenuiserie& menuiserie, const QString& idPose);

    // A tariff as the tariff choice hands it back.
    struct ChoixTarif
    {
        QString id;
        QString libelle;
        double prix = 0.0;
    };

    // Appends a line for that tariff, with the export code and VAT of the
    // item's kind, its hardware included, and the installer the item's lines
    // agree on priced for the quote-wide kind; returns its index.
    int AjouterTarif(TMenuiserie& menuiserie, const ChoixTarif& choix);
    // The installer a new line inherits: the first one found among the
    // item's lines, unless a later line has another one or none.
    static QString PoseurHerite(const TTarifs& tarifs);
    // Appends a copy of the line at that index (its hardware copied too,
    // and included; no SIRET or RGE); returns the copy's index.
    int DupliquerTarif(TMenuiserie& menuiserie, int index);
    // The line takes another tariff: id, label, price and the export code of
    // the item's kind; installer, VAT, hardware and its flag stay.
    void ModifierTarif(TMenuiserie& menuiserie, int index, const ChoixTarif& choix);
    void SupprimerTarif(TMenuiserie& menuiserie, int index);
    void SupprimerTarifs(TMenuiserie& menuiserie);
    // The row to select once row `index` is gone and `restantes` rows are
    // left: the one before it, the first when the first went, none when empty.
    static std::optional<int> LigneApresSuppression(int index, int restantes);

    // The installer of a line: his name, SIRET and RGE from the database and
    // his own price for the line's work (0 when he has none). Returns his name.
    QString AffecterPoseur(TTarif& tarif, const QString& idPoseur);
    // Lines of the quote with a label and without installer (no name).
    int NombreTarifsSansPoseur() const;
    // Each of those lines takes the installer, priced for its own tariff;
    // their SIRET and RGE are left as they are.
    void AffecterPoseurATous(const QString& idPoseur, const QString& nom);

    // Every stored price as the database has it now: the lines' sale prices
    // (general tariff), the prices of the lines that have an installer (his
    // own row), and the prices of all hardware. Labels, installers, VAT and
    // quantities stay; a row that is gone leaves its values.
    void ActualiserPrix();
    static void ActualiserQuincailleries(TQuincailleries& quincailleries);

    // Always those of the current objects.
    TotauxDevis Totaux() const;

    // The installer's name as the database has it now ("" when the line has
    // no installer, or the key matches no single installer).
    QString NomPoseur(const TTarif& tarif) const;
    // The red signal: the line's sale price differs from its general tariff's.
    bool EcartPrix(const TTarif& tarif) const;
    bool MenuiserieEnEcart(const TMenuiserie& menuiserie) const;

    // Writes the answer over the exchange file (throws, leaving the file as
    // it was, when it cannot be), then its archive copy; returns the message
    // to show when only the copy failed ("" when both were written).
    QString EcrireReponse() const;

    // Forgets the quote (the screen is closing; nothing is written).
    void Vider();

private:
    QString fichierEchange;
    QString dossierXml;
    QString prefixeHorodate;
    TPoseLivraison poseGlobale;
    TMenuiseries menuiseries;
    TQuincailleries quincailleriesGlobales;
    bool priseDeCote = true;

    void ChargerPose(const QString& idPose);
    QString MessageArchive(const QString& suffixe, const QString& erreur) const;
};
