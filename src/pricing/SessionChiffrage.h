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

    // Always those of the current objects.
    TotauxDevis Totaux() const;

    // The installer's name as the database has it now ("" when the line has
    // no installer, or the key matches no single installer).
    QString NomPoseur(const TTarif& tarif) const;
    // The red signal: the line's sale price differs from its general tariff's.
    bool EcartPrix(const TTarif& tarif) const;
    bool MenuiserieEnEcart(const TMenuiserie& menuiserie) const;

    // Writes the answer over the exchange file, then its archive copy.
    void EcrireReponse() const;

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
};
