// German texts 1393 to 1537 (all of part 2 of the German table).
// Exactly as the program shows them, blanks included; UTF-8. docs/texts.md
// lists every number with both languages and where it is used.
#include "support/texts_table.h"

namespace zev::texts_table {
namespace {
constexpr Entry kTexts[] = {
    // zone status, driver files, start-up, tools, login
    {1393, "Stromalarm"},
    {1394, "Fühlerbruch"},
    {1395, "Fühlerschluß"},
    {1396, "Temperatur L"},
    {1397, "Temperatur H"},
    {1398, "Negative Temp.-Abweichung"},
    {1399, "Positive Temp.-Abweichung"},
    {1400, "Tuning-Error"},
    {1401, "SSR-Schluß"},
    {1402, "Strom H"},
    {1403, "Strom L"},
    {1404, "Leckstrom"},
    {1405, "Unbekannter Fehler "},
    {1406, "Stromabweichung H"},
    {1407, "Stromabweichung L"},
    {1408, "Absoluter Temperaturalarm"},
    {1409, "Diese Funktion ist im Offlinebetrieb nicht verfügbar."},
    {1410, "Stellgrad-Abweichung"},
    {1411, "Lade Treiberinfos"},
    {1412, "Es konnte keine AZ-Nummer vom ZEV-Gerät ermittelt werden."},
    {1413, "Nochmal probieren"},
    {1414, "Weiter, ohne Treiber"},
    {1415, "Es wurde keine passende Treiberdatei für AZ"},
    {1416, " gefunden."},
    {1417, "Treiber manuell wählen"},
    {1418, "Das aktuelle Werkzeug hat mehr Zonen definiert als am angeschlossenen ZEV-Gerät vorhanden. Diese können im Moment nicht bedient werden."},
    {1419, "ZEV-Control muss nach dem Update neu gestartet werden"},
    {1420, "Updaten"},
    {1421, "Abbrechen"},
    {1422, "Treiberauswahl"},
    {1423, "Sprache"},
    {1424, "Alle Sprachen"},
    {1427, "ZEV-Control 2 hat "},
    {1428, " Logdateien in einen veralteten Format gefunden. Möchten sie diese in das neue Format konvertieren?"},
    {1429, "Ja, konvertieren"},
    {1430, "Nein, löschen"},
    {1431, "Bitte warten, konvertiere die Logdatei "},
    {1432, "Es ist nicht genügend Speicherplatz auf den Datenträger vorhanden. Die Logdatei"},
    {1433, " muss gelöscht werden!"},
    {1434, "Für diese Funktion wird die "},
    {1435, "-Ebene benötigt."},
    // start-up, update, status bar, user levels
    {1505, " und muß aktualisiert werden."},
    {1506, "Beenden"},
    {1507, "Starte Programm..."},
    {1508, "Ausgänge EIN"},
    {1509, "Ausgänge AUS"},
    {1510, "OFFLINE"},
    {1511, "Sollwertänderung von "},
    {1512, " auf "},
    {1513, "Moment noch..."},
    {1514, "Prüfe Schriftarten..."},
    {1515, "Das ZEV-Gerät führt gerade die Diagnose durch."},
    {1516, "1 ZEV-Gerät führt gerade die Diagnose durch."},
    {1517, " ZEV-Geräte führen gerade die Diagnose durch."},
    {1518, "Alle ZEV-Geräte führen gerade die Diagnose durch."},
    {1521, "Initialisierung der RS485-Schnittstelle fehlgeschlagen."},
    {1522, "Initialisierung des Bluetooh's fehlgeschlagen."},
    {1523, "Initialisierung des COM-Ports fehlgeschlagen."},
    {1524, "ZEV CONTROL jetzt OFFLINE"},
    {1525, "Updaten"},
    {1526, "Diagnose läuft"},
    {1527, "Updating..."},
    {1528, "ANZEIGEN"},
    {1529, "BEDIENUNG"},
    {1530, "OPTIMIERUNG"},
    {1531, "KONFIGURATION"},
    {1532, "SERVICE"},
    {1533, "<unbekannt>"},
    {1534, "ZEV485.DLL hat die Version "},
    {1535, "Kommunikationsfehler"},
    {1536, "Ausgänge AUS"},
    {1537, "Benutzerebene: "},
};
static_assert(ascendingWithin(kTexts, 1393, 1537));
}  // namespace

std::span<const Entry> german1393() { return kTexts; }

}  // namespace zev::texts_table
