#include "views/help_builtin.h"

#include "support/texts.h"

namespace zev {

namespace {

// Swatches use the colours the overview draws with.
const char* const kGerman = R"(
<h2>Übersicht: Kurzzeichen, Farben, was zu tun ist</h2>
<p>Für dieses Werkzeug ist keine Wartungsanweisung hinterlegt. Diese Seite erklärt, was die Übersicht zeigt.</p>

<h3>Kurzzeichen</h3>
<p>Eine Zone mit Störung zeigt im Wechsel mit ihrem Istwert ein Kurzzeichen in roter Schrift.</p>
<table border="1" cellpadding="6" cellspacing="0">
<tr><th>Zeichen</th><th>Bedeutung</th><th>Was tun</th></tr>
<tr><td><b>-E-</b></td><td>Fühlerbruch: Thermofühler oder seine Leitung unterbrochen. Die Zone kann nicht regeln.</td>
<td>Stecker und Fühlerleitung prüfen, Fühler tauschen.</td></tr>
<tr><td><b>-S-</b></td><td>Fühlerschluss: Thermofühler kurzgeschlossen, der Istwert stimmt nicht.</td>
<td>Fühlerleitung auf Quetschungen prüfen, Fühler tauschen.</td></tr>
<tr><td><b>CURR</b></td><td>Stromalarm: der Heizstrom liegt außerhalb seiner Grenzen (Heizung unterbrochen oder Kurzschluss).</td>
<td>Heizung, Stecker und Sicherung prüfen; Heizwiderstand messen.</td></tr>
<tr><td><b>SSR</b></td><td>SSR-Schluss: das Halbleiterrelais (Triac) ist durchlegiert, die Zone heizt ungeregelt.</td>
<td>Ausgänge sofort ausschalten und den Service rufen: das Regelgerät muss instand gesetzt werden.</td></tr>
<tr><td><b>-LC-</b></td><td>Leckstrom: Isolationsfehler, oft Feuchtigkeit in der Heizung.</td>
<td>Heizung mit kleiner Leistung ausheizen lassen; bleibt der Fehler, die Heizung prüfen lassen.</td></tr>
<tr><td><b>-HI-</b></td><td>Temperatur H: der Istwert liegt über der oberen Alarmgrenze.</td>
<td>Sollwert und Kühlung prüfen; steigt die Temperatur weiter, die Zone ausschalten.</td></tr>
<tr><td><b>-P-</b></td><td>Handbetrieb: die Zone heizt mit festem Stellgrad statt zu regeln; erscheint im Wechsel mit dem Sollwert.</td>
<td>Nur vorübergehend nutzen, z.B. bei defektem Fühler; danach wieder auf Regelbetrieb schalten.</td></tr>
<tr><td><b>---</b></td><td>Zone ausgeschaltet (Sollwert 0) oder kein Wert vorhanden.</td>
<td>Nichts, wenn die Zone nicht gebraucht wird; sonst Sollwert setzen.</td></tr>
</table>
<p>Weitere Kurzzeichen stehen mit ihrem Klartext, ihrer Zeit und ihrer Zone in der Alarmliste (Reiter „Alarme“).</p>

<h3>Farben</h3>
<table border="1" cellpadding="6" cellspacing="0">
<tr><td bgcolor="#ffff00">&nbsp;Gelb&nbsp;</td><td>Messwerte: Istwert, Stellgrad, Heizstrom. Ein gelber Balken zeigt die Regelabweichung: nach rechts zu kalt, nach links zu warm.</td></tr>
<tr><td bgcolor="#00ffff">&nbsp;Türkis&nbsp;</td><td>Handbetrieb (Stellgrad und Sollwert) und „Tuning“ während der Selbstoptimierung.</td></tr>
<tr><td><font color="#ff0000"><b>Rot</b></font></td><td>Kurzzeichen einer Störung; ein roter Balken gehört zu einer gestörten Zone.</td></tr>
<tr><td>Gruppenfarbe</td><td>Hinter der Zonennummer: die Gruppe der Zone.</td></tr>
<tr><td bgcolor="#ffff80">&nbsp;Hellgelb&nbsp;</td><td>Statuszeile: eine Meldung liegt an.</td></tr>
<tr><td bgcolor="#ff8080">&nbsp;Hellrot&nbsp;</td><td>Statuszeile: ein Alarm liegt an.</td></tr>
<tr><td bgcolor="#00ff00">&nbsp;Grün&nbsp;</td><td>„OFFLINE“ in der Statuszeile: keine Verbindung zu den Regelgeräten.</td></tr>
</table>

<h3>Was tun bei einer Störung</h3>
<ol>
<li>In der Alarmliste nachsehen, welche Zone seit wann gestört ist.</li>
<li>Die Tabelle oben sagt, was zu prüfen ist. Bei SSR oder stetig steigender Temperatur zuerst die Ausgänge ausschalten.</li>
<li>Nach der Behebung den Alarm in der Alarmliste quittieren.</li>
</ol>
<p>Eine eigene Wartungsanweisung erscheint an Stelle dieser Seite, sobald sie eingetragen ist: für das Werkzeug unter
[HTML] 2PAGE in seiner SETTINGS.INI (die Seite liegt im Ordner „Wartung“ des Werkzeugs), für die Anlage unter [HTML] 3PAGE in zev.ini.</p>
)";

const char* const kEnglish = R"(
<h2>Overview: short codes, colours, what to do</h2>
<p>No maintenance instructions are configured for this tool. This page explains what the overview shows.</p>

<h3>Short codes</h3>
<p>A zone with a fault shows a short code in red, alternating with its actual value.</p>
<table border="1" cellpadding="6" cellspacing="0">
<tr><th>Code</th><th>Meaning</th><th>What to do</th></tr>
<tr><td><b>-E-</b></td><td>Broken sensor: the thermocouple or its wire is open. The zone cannot control.</td>
<td>Check plug and sensor wire, replace the sensor.</td></tr>
<tr><td><b>-S-</b></td><td>Shorted sensor: the thermocouple is shorted, the actual value is wrong.</td>
<td>Check the sensor wire for crushing, replace the sensor.</td></tr>
<tr><td><b>CURR</b></td><td>Current alarm: the heater current is outside its limits (heater open or short circuit).</td>
<td>Check heater, plug and fuse; measure the heater's resistance.</td></tr>
<tr><td><b>SSR</b></td><td>Shorted SSR: the solid-state relay (triac) has failed short, the zone heats without control.</td>
<td>Switch the outputs off at once and call service: the controller must be repaired.</td></tr>
<tr><td><b>-LC-</b></td><td>Leakage current: an insulation fault, often moisture in the heater.</td>
<td>Let the heater dry out at low power; if the fault stays, have the heater checked.</td></tr>
<tr><td><b>-HI-</b></td><td>Temperature H: the actual value is above the upper alarm limit.</td>
<td>Check setpoint and cooling; if the temperature keeps rising, switch the zone off.</td></tr>
<tr><td><b>-P-</b></td><td>Manual mode: the zone heats with a fixed output rate instead of controlling; alternates with the setpoint.</td>
<td>Use it only for a while, e.g. with a broken sensor; then switch back to control.</td></tr>
<tr><td><b>---</b></td><td>Zone switched off (setpoint 0) or no value available.</td>
<td>Nothing if the zone is not needed; otherwise set a setpoint.</td></tr>
</table>
<p>Other short codes are listed with their description, time and zone in the alarm list (tab "Alarms").</p>

<h3>Colours</h3>
<table border="1" cellpadding="6" cellspacing="0">
<tr><td bgcolor="#ffff00">&nbsp;Yellow&nbsp;</td><td>Measured values: actual value, output rate, heater current. A yellow bar shows the deviation: to the right too cold, to the left too hot.</td></tr>
<tr><td bgcolor="#00ffff">&nbsp;Cyan&nbsp;</td><td>Manual mode (output rate and setpoint) and "Tuning" during self-tuning.</td></tr>
<tr><td><font color="#ff0000"><b>Red</b></font></td><td>Short code of a fault; a red bar belongs to a faulty zone.</td></tr>
<tr><td>Group colour</td><td>Behind the zone number: the zone's group.</td></tr>
<tr><td bgcolor="#ffff80">&nbsp;Light yellow&nbsp;</td><td>Status bar: a message is present.</td></tr>
<tr><td bgcolor="#ff8080">&nbsp;Light red&nbsp;</td><td>Status bar: an alarm is present.</td></tr>
<tr><td bgcolor="#00ff00">&nbsp;Green&nbsp;</td><td>"OFFLINE" in the status bar: no connection to the controllers.</td></tr>
</table>

<h3>What to do when a fault shows</h3>
<ol>
<li>Look up in the alarm list which zone is faulty and since when.</li>
<li>The table above says what to check. With SSR or a steadily rising temperature, switch the outputs off first.</li>
<li>When the fault is mended, acknowledge the alarm in the alarm list.</li>
</ol>
<p>Your own maintenance instructions replace this page once they are configured: for the tool under [HTML] 2PAGE in
its SETTINGS.INI (the page lies in the tool's folder "Wartung"), for the plant under [HTML] 3PAGE in zev.ini.</p>
)";

}  // namespace

QString builtinHelpPage(int lngId) {
    return QString::fromUtf8(lngId == Texts::kEnglish ? kEnglish : kGerman);
}

}  // namespace zev
