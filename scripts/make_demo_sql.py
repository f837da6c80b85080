#!/usr/bin/env python3
"""Writes db/demo.sql: deterministic demo data for Talveros."""
import sys
from decimal import Decimal, ROUND_HALF_UP

TOWNS = {
    # town: (postcode digits, area code)
    "Utrecht": ("3511", "030"), "Amersfoort": ("3811", "033"), "Zwolle": ("8011", "038"),
    "Groningen": ("9711", "050"), "Leeuwarden": ("8911", "058"), "Haarlem": ("2011", "023"),
    "Leiden": ("2311", "071"), "Delft": ("2611", "015"), "Rotterdam": ("3011", "010"),
    "Den Haag": ("2511", "070"), "Eindhoven": ("5611", "040"), "'s-Hertogenbosch": ("5211", "073"),
    "Nijmegen": ("6511", "024"), "Arnhem": ("6811", "026"), "Maastricht": ("6211", "043"),
    "Breda": ("4811", "076"), "Tilburg": ("5038", "013"), "Apeldoorn": ("7311", "055"),
    "Enschede": ("7511", "053"), "Deventer": ("7411", "0570"), "Alkmaar": ("1811", "072"),
    "Amsterdam": ("1017", "020"), "Hilversum": ("1211", "035"), "Gouda": ("2801", "0182"),
    "Dordrecht": ("3311", "078"), "Houten": ("3991", "030"), "Zeist": ("3701", "030"),
}
LETTERS = ["AB", "BK", "CD", "DX", "EH", "GL", "HN", "JP", "KR", "LS", "MT", "NV", "PW", "RZ", "ST"]
BANKS = ["ING", "Rabobank", "ABN AMRO", "SNS Bank", "Triodos Bank", "ASN Bank"]


def postcode(town, i):
    return TOWNS[town][0][:2] + "%02d" % (11 + (i * 7) % 80) + " " + LETTERS[i % len(LETTERS)]


def phone(town, i, salt):
    area = TOWNS[town][1]
    width = 10 - len(area)
    low = 2 * 10 ** (width - 1)
    return area + str(low + ((i * 7919 + salt * 104729) * 37) % (7 * 10 ** (width - 1)))


def mobile(i, salt):
    return "06" + str(10000000 + ((i * 48271 + salt * 16807) * 53) % 89999999)


def derive(naam, adres, pc, tel):
    piece = naam[:2] + adres[:1] + pc[-1:] + tel[-2:]
    return piece + "1", piece + "2"


def check(widths, vals):
    for w, v in zip(widths, vals):
        assert w is None or len(v) <= w, (v, w)


# Longest values the entry screens produce, column by column (None: not limited).
CONSULTANT_WIDTHS = [None, 4, 45, 7, 15, 8, 20, 8, 15, 20, 35, 7, 20, 30, 10, 10, 10, 25, 25, 7, 7, 15, 12, 17, 8, 3,
                     20, 20, 7]
CLIENT_WIDTHS = [None, 4, 40 + 3 + 10 + 1, 25, 7, 15, 8, 20, 8, 15, 20, 25, 10, 25, 35, None, 7, 20, 30, 10, 10, 10,
                 25, 25, 15, 12, 17, 8, 7, 7, 20, 20, 7]
PROJECT_WIDTHS = [None, 16, None, 24, 4, 4, 10, 10, 3, 5, 5, None, None, 3]


def q(v):
    if v is None:
        return "NULL"
    return "'" + v.replace("\\", "\\\\").replace("'", "''").replace("\r", "\\r").replace("\n", "\\n") + "'"


def dt(month, day, year, h, m, s):
    return "%02d-%02d-%04d  %02d:%02d:%02d" % (month, day, year, h, m, s)


NEVER = "00-00-0000  00:00:00"

# title1, initials, prefix, surname, title2, roepnaam, functie, organisation, street, town, var
CONSULTANTS = [
    ("ir.", "J.P.", "van", "Dijk", "MBA", "Jan-Pieter", "Interim-manager", "Van Dijk Interim Management B.V.", "Oudegracht 112", "Utrecht", "WUO"),
    ("drs.", "M.", "de", "Vries", "", "Marieke", "Projectleider", "De Vries Projectadvies", "Kamp 41", "Amersfoort", "WUO"),
    ("", "H.", "", "Bakker", "", "Henk", "Informatieanalist", "Bakker ICT-Consultancy", "Melkmarkt 9", "Zwolle", "WUO"),
    ("ing.", "P.J.", "", "Visser", "", "Peter", "Netwerkspecialist", "Visser Netwerkbeheer", "Herestraat 77", "Groningen", "DGA"),
    ("mr.", "A.C.M.", "van den", "Berg", "", "Anne", "Jurist contracten", "Van den Berg Juridisch Advies", "Nieuwestad 15", "Leeuwarden", "WUO"),
    ("dr.", "S.", "", "Smit", "RE", "Sander", "IT-auditor", "Smit Audit & Advies", "Grote Houtstraat 140", "Haarlem", "DGA"),
    ("", "L.", "", "Meijer", "", "Lotte", "Scrum master", "Meijer Agile Coaching", "Breestraat 88", "Leiden", "WUO"),
    ("ir.", "K.", "de", "Boer", "", "Koen", "Architect", "De Boer Architectuur", "Oude Delft 201", "Delft", "WUO"),
    ("drs.", "W.F.", "", "Mulder", "RA", "Willem", "Financieel adviseur", "Mulder Financieel Advies", "Witte de Withstraat 3", "Rotterdam", "DGA"),
    ("", "E.", "de", "Groot", "", "Esther", "Testcoördinator", "De Groot Testmanagement", "Lange Voorhout 56", "Den Haag", "WUO"),
    ("ing.", "R.", "", "Bos", "", "Ruud", "Database-specialist", "Bos Datadiensten", "Stratumseind 20", "Eindhoven", "WUO"),
    ("", "N.", "van", "Leeuwen", "", "Noor", "Procesadviseur", "Van Leeuwen Procesadvies", "Hinthamerstraat 64", "'s-Hertogenbosch", "ROW"),
    ("drs.", "T.", "", "Dekker", "MSc", "Thijs", "Data-analist", "Dekker Data Consult", "Lange Hezelstraat 5", "Nijmegen", "WUO"),
    ("", "F.", "", "Brouwer", "", "Fleur", "Communicatieadviseur", "Brouwer Communicatie", "Bakkerstraat 31", "Arnhem", "WUO"),
    ("ir.", "G.H.", "de", "Wit", "", "Gert", "Security-adviseur", "De Wit Informatiebeveiliging", "Vrijthof 12", "Maastricht", "DGA"),
    ("", "I.", "", "Dijkstra", "", "Iris", "Projectsecretaris", "Dijkstra Projectondersteuning", "Ginnekenweg 98", "Breda", "WUO"),
    ("mr.", "B.", "", "Smits", "LLM", "Bart", "Privacy officer", "Smits Privacy & Compliance", "Piusstraat 44", "Tilburg", "WUO"),
    ("", "C.", "ter", "Horst", "", "Carla", "Interim HR-manager", "Ter Horst HR Interim", "Hoofdstraat 150", "Apeldoorn", "ROW"),
    ("ing.", "D.", "", "Kok", "", "Dennis", "Cloud engineer", "Kok Cloud Solutions", "Oude Markt 7", "Enschede", "WUO"),
    ("drs.", "Y.", "van der", "Linden", "", "Yvonne", "Change manager", "Van der Linden Verandermanagement", "Brink 23", "Deventer", "DGA"),
]

# organisation, department, assignment, (title1, initials, prefix, surname, title2, roepnaam, functie),
# secretary, street, town
CLIENTS = [
    ("Gemeente Houten", "ICT", "Vervanging zaaksysteem", ("", "A.", "van", "Rijn", "", "Arjen", "Teamleider ICT"), "mevr. B. Claassen", "Onderdoor 25", "Houten"),
    ("Noordkade Havenbedrijf N.V.", "Logistiek", "Planning kadewerk", ("ir.", "M.J.", "", "Hoekstra", "", "Maarten", "Hoofd logistiek"), "mevr. S. Wierenga", "Handelskade 4", "Groningen"),
    ("Zorggroep De Linde", "Financiën", "Nieuwe budgetcyclus", ("drs.", "P.", "", "Verbeek", "", "Paula", "Controller"), "dhr. T. Kuiper", "Lindelaan 2", "Zwolle"),
    ("Zuidwest Energie B.V.", "Inkoop", "Contractbeheer", ("", "R.", "de", "Jong", "", "Rob", "Inkoopmanager"), "mevr. L. Pauw", "Energieweg 18", "Breda"),
    ("Hogeschool Rivierenland", "HRM", "Personeelsdossiers", ("dr.", "E.", "van", "Wijk", "", "Els", "Directeur HRM"), "mevr. K. Hendriks", "Campusplein 1", "Nijmegen"),
    ("Transportbedrijf Dijkstra & Zn.", "Planning", "Ritplanning 2.0", ("", "J.", "", "Postma", "", "Jelle", "Bedrijfsleider"), "mevr. A. Zijlstra", "Transportweg 60", "Leeuwarden"),
    ("Verzekeraar De Zekerheid", "Juridisch", "AVG-implementatie", ("mr.", "H.C.", "", "Jacobs", "", "Hans", "Hoofd juridisch"), "mevr. M. Verhoef", "Coolsingel 88", "Rotterdam"),
    ("Bakkerij Van der Meulen B.V.", "Productie", "Roosterplanning", ("", "W.", "van der", "Meulen", "", "Wim", "Directeur"), "mevr. J. Bosman", "Ovenweg 3", "Gouda"),
    ("Provinciehuis Middenland", "Facilitair", "Werkplekbeheer", ("ing.", "S.", "", "Veenstra", "", "Sietske", "Afdelingshoofd"), "dhr. P. Koster", "Provincieplein 10", "Utrecht"),
    ("Waterbedrijf Eemvallei", "ICT", "Meetnet telemetrie", ("ir.", "F.", "", "Prins", "", "Frank", "ICT-manager"), "mevr. D. Huisman", "Zuiveringsweg 7", "Amersfoort"),
    ("Stichting Museum Kunstkamer", "Collectie", "Digitaal archief", ("drs.", "C.", "", "Willems", "", "Claire", "Conservator"), "mevr. R. Vos", "Museumplein 5", "Haarlem"),
    ("Woonstichting Het Anker", "Vastgoed", "Onderhoudsplanning", ("", "K.", "", "Maas", "", "Karin", "Manager vastgoed"), "dhr. G. Scholten", "Ankerplein 14", "Dordrecht"),
    ("Regionale Omroep Oost", "Redactie", "Nieuw redactiesysteem", ("", "M.", "", "Kuipers", "", "Mark", "Hoofdredacteur"), "mevr. E. Bouwman", "Mediapark 2", "Hilversum"),
    ("Bouwbedrijf Hendriks B.V.", "Projecten", "Bouwplaatsregistratie", ("ing.", "L.", "", "Hendriks", "", "Luuk", "Projectdirecteur"), "mevr. N. de Haan", "Bouwstraat 33", "Eindhoven"),
    ("Ziekenhuis Sint Joris", "Zorg", "Patiëntenstroom", ("dr.", "A.M.", "", "Sanders", "", "Annemiek", "Manager zorgproces"), "mevr. I. Peters", "Ziekenhuislaan 100", "Deventer"),
]

DOMAINS = ["houten.nl", "noordkade.nl", "delinde.nl", "zwenergie.nl", "hsrivier.nl", "tbdijkstra.nl",
           "dezekerheid.nl", "vdmeulen.nl", "middenland.nl", "eemvallei.nl", "kunstkamer.nl", "hetanker.nl",
           "omroepoost.nl", "hendriksbv.nl", "sintjoris.nl"]

# name, consultant index (1-based), client index (1-based), start (y, m), months, days, inkoop, verkoop
PROJECTS = [
    ("Zaaksysteem", 1, 1, (2024, 1), 12, 120, 1040, 800),
    ("Budgetcyclus", 9, 3, (2024, 3), 9, 90, 960, 760),
    ("Kadeplanning", 2, 2, (2024, 2), 10, 100, 920, 720),
    ("Contractbeheer", 5, 4, (2024, 5), 8, 60, 1000, 780),
    ("HR-dossiers", 18, 5, (2024, 4), 9, 80, 880, 680),
    ("Ritplanning", 3, 6, (2024, 6), 8, 70, 840, 640),
    ("AVG-invoering", 17, 7, (2024, 1), 6, 50, 1080, 840),
    ("AVG audit", 6, 7, (2024, 8), 6, 40, 1120, 880),
    ("Roosterplanning", 7, 8, (2024, 9), 7, 45, 800, 620),
    ("Werkplekbeheer", 19, 9, (2024, 2), 12, 150, 900, 700),
    ("Telemetrie", 4, 10, (2024, 3), 10, 110, 960, 740),
    ("Digitaal archief", 13, 11, (2024, 5), 9, 85, 880, 690),
    ("Onderhoudsplan", 12, 12, (2024, 4), 8, 60, 860, 660),
    ("Redactiesysteem", 8, 13, (2024, 7), 8, 90, 1000, 780),
    ("Bouwregistratie", 11, 14, (2024, 6), 9, 75, 920, 720),
    ("Patientenstroom", 20, 15, (2024, 1), 12, 130, 1040, 820),
    ("Testaanpak", 10, 1, (2024, 9), 6, 40, 880, 680),
    ("Datawarehouse", 13, 3, (2025, 1), 6, 70, 960, 760),
    ("Beveiliging", 15, 10, (2024, 10), 6, 55, 1080, 860),
    ("Cloudmigratie", 19, 2, (2025, 2), 5, 60, 1000, 800),
    ("Procesanalyse", 12, 15, (2024, 11), 6, 45, 900, 700),
    ("Communicatieplan", 14, 13, (2024, 3), 4, 25, 820, 640),
    ("Netwerk upgrade", 4, 9, (2025, 1), 5, 40, 940, 740),
    ("Verandertraject", 20, 5, (2025, 3), 4, 50, 1000, 790),
    ("Inkoopanalyse", 9, 4, (2024, 12), 5, 35, 960, 750),
    ("Scrum invoering", 7, 14, (2025, 1), 5, 45, 860, 670),
    ("Architectuur", 8, 6, (2025, 2), 4, 30, 1040, 820),
    ("Privacyscan", 17, 11, (2025, 3), 3, 20, 1000, 780),
    ("Projectbureau", 16, 12, (2024, 10), 6, 60, 760, 600),
    ("Interim HR", 18, 8, (2025, 4), 3, 30, 900, 700),
]

DESCRIPTIONS = [
    "Vervanging van het bestaande systeem door een standaardpakket,\r\ninclusief conversie van de historische gegevens.",
    "Inrichting van de nieuwe werkwijze en begeleiding van de medewerkers.",
    "Analyse van de huidige situatie en opstellen van een plan van aanpak.",
    "Ontwerp, bouw en invoering in drie fasen.\r\nFase 1: inventarisatie. Fase 2: ontwerp. Fase 3: invoering.",
    "Ondersteuning van de projectorganisatie tot aan de oplevering.",
]
CONSULTANT_REMARKS = ["", "Werkplek beschikbaar op locatie.", "Maandelijks voortgangsoverleg met de opdrachtgever.", "", "Reiskosten apart declareren."]
EXPENSES = [("Parkeren", "12.50"), ("Treinkaartje", "23.40"), ("Lunch met opdrachtgever", "46.80"),
            ("Vakliteratuur", "39.95"), ("Cursusmateriaal", "85.00"), ("Printkosten", "7.25"),
            ("Hotelovernachting", "98.00")]

CENT = Decimal("0.01")


def shifted(y, m, months):
    # Projects run a little longer and start a little earlier than first planned.
    m -= 4
    if m < 1:
        y, m = y - 1, m + 12
    return y, m, months + 3


def money(d):
    return str(d.quantize(CENT, rounding=ROUND_HALF_UP))


def main(out):
    w = out.write
    w("-- Demo data for Talveros: a small consultants' network with its clients, projects and\n")
    w("-- declarations. Reload at any time: every table it fills is emptied first.\n")
    w("-- Sign in as ADMIN with the password qorun.\n")
    w("SET NAMES utf8mb4;\n\n")
    w("USE kordamrg_KORDAMdata;\n\n")
    for t in ["TALVERO_ADMINISTRATOR", "TALVERO_consultants", "TALVERO_opdrachtgevers",
              "TALVERO_PROJECT_DATA", "TALVERO_projecten", "TALVERO_berichten"]:
        w("TRUNCATE TABLE %s;\n" % t)
    w("\nINSERT INTO TALVERO_ADMINISTRATOR (LOGIN, PASWOORD) VALUES ('ADMIN', 'qorun');\n\n")
    w("INSERT INTO TALVERO_berichten (Bericht) VALUES (%s);\n\n"
      % q("ALGEMEEN: Graag al uw openstaande declaraties uitvoeren over de vorige maand"))

    # Presence: a few signed in now, most signed off, a few never signed in.
    def presence(i, kind):
        online = {"c": {2, 5, 11, 16}, "o": {3, 9}}[kind]
        never = {"c": {18, 20}, "o": {13, 15}}[kind]
        if i in never:
            return NEVER, NEVER, "OFFLINE"
        j = i if kind == "c" else i + 7
        h, m, s = 7 + j % 10, (j * 13) % 60, (j * 29) % 60
        if i in online:
            # signed in this morning, signed off the day before
            return dt(6, 12, 2025, h, m, s), dt(6, 11, 2025, 16 + j % 3, (j * 7) % 60, (j * 17) % 60), "ONLINE"
        month, day = 1 + (j * 3) % 5, 1 + (j * 11) % 28
        return dt(month, day, 2025, h, m, s), dt(month, day, 2025, h + 6, (m + 21) % 60, (s + 9) % 60), "OFFLINE"

    consultant_names = {}
    cols = ("nummer, consultantnummer, NaamOrganisatie, Titel1, voornaam, tussenvoegsel, naam, Titel2, "
            "Roepnaam, Functie, adres, postcode, woonplaats, WEBSITE, TELzakelijk, TELprive, TELmobiel, "
            "EMAILzakelijk, EMAILprive, LOGIN, PASWOORD, BANKnaam, BANKnummer, BTWnummer, KVKnummer, "
            "VARverklaring, isAANGEMELD, isAFGEMELD, isONLINE")
    w("INSERT INTO TALVERO_consultants (%s) VALUES\n" % cols)
    rows = []
    for i, (t1, ini, pre, sur, t2, roep, func, org, street, town, var) in enumerate(CONSULTANTS, 1):
        num = "%04d" % i
        pc = postcode(town, i)
        tel = phone(town, i, 1)
        login, pw = derive(sur, street, pc, tel)
        slug = (pre + sur).replace(" ", "").lower()
        site = "https://%sadvies.nl" % slug
        mail = "%s@%sadvies.nl" % (roep.split("-")[0].lower(), slug)
        if len(mail) > 25:
            mail = "info@%s.nl" % slug
        private = "%s.%s@ziggo.nl" % (ini[0].lower(), slug) if i % 2 else "%s%s@kpnmail.nl" % (ini[0].lower(), slug)
        bank = BANKS[i % len(BANKS)]
        banknr = "%d" % (100000000 + (i * 7654321) % 899999999)
        btw = "NL%09dB01" % ((i * 123456789) % 10**9)
        kvk = "%08d" % (30000000 + (i * 1234567) % 69999999)
        ain, aoff, state = presence(i, "c")
        consultant_names[i] = " ".join(p for p in (ini, pre, sur) if p)
        vals = [str(i), num, org, t1, ini, pre, sur, t2, roep, func, street, pc, town, site, tel,
                phone(town, i, 2), mobile(i, 1), mail, private, login, pw, bank, banknr, btw, kvk, var,
                ain, aoff, state]
        check(CONSULTANT_WIDTHS, vals)
        rows.append("(" + vals[0] + ", " + ", ".join(q(v) for v in vals[1:]) + ")")
    w(",\n".join(rows) + ";\n\n")

    client_bedrijf = {}
    cols = ("nummer, Opdrachtgevernummer, Bedrijf, Opdrachtnaam, Titel1, voornaam, tussenvoegsel, naam, "
            "Titel2, Roepnaam, Functie, Secretaresse, TELsecretaresse, EMAILsecretaresse, adres, Factuuradres, "
            "postcode, woonplaats, WEBSITE, TELzakelijk, TELprive, TELmobiel, EMAILzakelijk, EMAILprive, "
            "BANKnaam, BANKnummer, BTWnummer, KVKnummer, LOGIN, PASWOORD, isAANGEMELD, isAFGEMELD, isONLINE")
    w("INSERT INTO TALVERO_opdrachtgevers (%s) VALUES\n" % cols)
    rows = []
    for i, (org, dept, assignment, person, secretary, street, town) in enumerate(CLIENTS, 1):
        t1, ini, pre, sur, t2, roep, func = person
        num = "%04d" % i
        bedrijf = org + "  (" + dept + ")"
        client_bedrijf[i] = bedrijf
        pc = postcode(town, i + 40)
        tel = phone(town, i, 3)
        login, pw = derive(sur, street, pc, tel)
        domain = DOMAINS[i - 1]
        site = "https://" + domain
        mail = "%s.%s@%s" % (ini[0].lower(), sur.lower().replace(" ", ""), domain)
        if len(mail) > 25:
            mail = "%s@%s" % (sur.lower().replace(" ", ""), domain)
        smail = "secretariaat@" + domain
        if len(smail) > 25:
            smail = "secretaris@" + domain
        private = "%s%s@hotmail.com" % (roep.lower()[:5], i)
        invoice = "Postbus %d\r\n%s AA  %s" % (1000 + i * 37, TOWNS[town][0], town.upper())
        bank = BANKS[(i + 2) % len(BANKS)]
        banknr = "%d" % (100000000 + (i * 9876543) % 899999999)
        btw = "NL%09dB01" % ((i * 987654321) % 10**9)
        kvk = "%08d" % (40000000 + (i * 7654321) % 59999999)
        ain, aoff, state = presence(i, "o")
        vals = [str(i), num, bedrijf, assignment, t1, ini, pre, sur, t2, roep, func, secretary,
                phone(town, i, 4), smail, street, invoice, pc, town, site, tel, phone(town, i, 5),
                mobile(i, 2), mail, private, bank, banknr, btw, kvk, login, pw, ain, aoff, state]
        check(CLIENT_WIDTHS, vals)
        assert len(org) <= 40 and len(dept) <= 10, (org, dept)
        rows.append("(" + vals[0] + ", " + ", ".join(q(v) for v in vals[1:]) + ")")
    w(",\n".join(rows) + ";\n\n")

    w("-- Every new project gets its TALVERO_PROJECT_DATA row from the private servers'\n")
    w("-- insert trigger (db/private_triggers.sql).\n")
    cols = ("nummer, Projectnaam, ProjectOmschrijving, Projectcode, Opdrachtgevernummer, consultantnummer, "
            "TijdsplanningDATUMvan, TijdsplanningDATUMtm, ProjectduurPer8uur, InkoopDagtariefOpdrachtgever, "
            "VerkoopDagtariefConsultant, CommentaarCONSULTANT, CommentaarADMIN, AFSLUITEN")
    w("INSERT INTO TALVERO_projecten (%s) VALUES\n" % cols)
    rows = []
    for i, (name, ci, oi, (y, m), months, days, inkoop, verkoop) in enumerate(PROJECTS, 1):
        y, m, months = shifted(y, m, months)
        cnum, onum = "%04d" % ci, "%04d" % oi
        end_m = m + months - 1
        end_y, end_m = y + (end_m - 1) // 12, (end_m - 1) % 12 + 1
        end_d = 28 if end_m == 2 else (30 if end_m in (4, 6, 9, 11) else 31)
        closed = (end_y, end_m) <= (2024, 12)
        admin = "GEEN"
        if i == 4:
            admin = "Contract verlengd tot eind 2024."
        elif i == 10:
            admin = "Tarief per 1 januari 2025 ongewijzigd.\r\nEvaluatie in maart."
        elif i == 22:
            admin = "Afgerond; eindrapport ontvangen."
        vals = [str(i), name, DESCRIPTIONS[i % len(DESCRIPTIONS)], cnum + name + onum, onum, cnum,
                "%04d/%02d/01" % (y, m), "%04d/%02d/%02d" % (end_y, end_m, end_d), str(days), str(inkoop),
                str(verkoop), CONSULTANT_REMARKS[i % len(CONSULTANT_REMARKS)], admin, "Ja" if closed else "Nee"]
        check(PROJECT_WIDTHS, vals)
        rows.append("(" + vals[0] + ", " + ", ".join(q(v) for v in vals[1:]) + ")")
    w(",\n".join(rows) + ";\n\n")

    w("USE kordamrg_KORDAMdeclaraties;\n\n")
    w("TRUNCATE TABLE Declaraties;\n\n")
    cols = ("Factuurnummer, Projectnaam, Opdrachtgevernaam, Consultantnaam, IsbetaaldOpdrachtgever, "
            "IsbetaaldConsultant, uren, peruurUIT, urentotaaluit, kilometers, perKM, totaalkostenKM, onkosten, "
            "kostenomschrijving, subtotaaluit, BTWuit, totaaluit")
    # One declaration per project per month of its planning, filed in the month after; the
    # network's current month is June 2025, so recent months are still open.
    decls = []
    for i, (name, ci, oi, (y, m), months, days, inkoop, verkoop) in enumerate(PROJECTS, 1):
        y, m, months = shifted(y, m, months)
        for k in range(months):
            mm = m + k
            yy, mm = y + (mm - 1) // 12, (mm - 1) % 12 + 1
            if (yy, mm) > (2025, 5):
                break
            decls.append((yy, mm, i, k))
    decls.sort()
    rows = []
    serial = 0
    for yy, mm, i, k in decls:
        name, ci, oi, _, months, days, inkoop, verkoop = PROJECTS[i - 1]
        serial += 1
        fnum = "%04d%02d-%04d-%04d" % (yy, mm, ci, serial)
        assert len(fnum) == 16
        age = (2025 - yy) * 12 + (6 - mm)  # months ago
        h = (i * 31 + k * 17) % 100
        # Clients pay within a few months, now and then much later; the network pays its
        # consultants once the client has paid, and sometimes ahead of that.
        client_paid = "ja" if age > 6 or (age > 2 and h % 4 != 0) or (age == 2 and h % 3 == 0) else "nee"
        consultant_paid = client_paid if h % 9 else ("nee" if client_paid == "ja" else "ja")
        hours = [16, 24, 32, 40, 48, 56, 64, 72, 80, 96, 104, 120, 136, 144, 152, 160][(i * 7 + k * 5) % 16]
        rate = Decimal(inkoop) / 8
        hours_total = rate * hours
        km = 0 if (i + k) % 7 == 0 else [18, 24, 36, 42, 56, 64, 85, 96, 120, 148][(i * 3 + k) % 10] * (1 + k % 3)
        per_km = Decimal("0.21")
        km_total = per_km * km
        if (i * 5 + k) % 5 == 0:
            desc, expense = "", Decimal("0")
        else:
            desc, e = EXPENSES[(i + k * 3) % len(EXPENSES)]
            expense = Decimal(e)
        sub = (hours_total + km_total + expense).quantize(CENT, rounding=ROUND_HALF_UP)
        vat = (sub * Decimal("0.21")).quantize(CENT, rounding=ROUND_HALF_UP)
        total = sub + vat
        vals = [fnum, name, client_bedrijf[oi], consultant_names[ci], client_paid, consultant_paid,
                str(hours), money(rate), money(hours_total), str(km), money(per_km), money(km_total),
                money(expense), desc, money(sub), money(vat), money(total)]
        rows.append("(" + ", ".join(q(v) for v in vals) + ")")
    # What the consultants' side leaves behind for declarations not yet filled in: no
    # project name, so they are no declarations.
    for n, (ci, oi) in enumerate([(3, 6), (12, 15)], 1):
        vals = ["202506-%04d-%04d" % (ci, serial + n), "", client_bedrijf[oi], consultant_names[ci],
                "nee", "nee", "0", "0.00", "0.00", "0", "0.21", "0.00", "0.00", "", "0.00", "0.00", "0.00"]
        rows.append("(" + ", ".join(q(v) for v in vals) + ")")
    w("INSERT INTO Declaraties (%s) VALUES\n" % cols)
    w(",\n".join(rows) + ";\n")
    sys.stderr.write("consultants %d, clients %d, projects %d, declarations %d (+2 without project)\n"
                     % (len(CONSULTANTS), len(CLIENTS), len(PROJECTS), len(rows) - 2))


if __name__ == "__main__":
    with open(sys.argv[1], "w", encoding="utf-8", newline="\n") as f:
        main(f)
