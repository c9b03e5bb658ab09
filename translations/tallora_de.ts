<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>tallora</name>
    <message>
        <source>Customer: </source>
        <translation>Kunde: </translation>
    </message>
    <message>
        <source>Enter the customers name here - will appear on printed cutting list</source>
        <translation>Hier den Namen des Kunden eingeben - erscheint auf der gedruckten Schnittliste</translation>
    </message>
    <message>
        <source>Reference: </source>
        <translation>Referenz: </translation>
    </message>
    <message>
        <source>Enter the list reference here - will appear on printed cutting list</source>
        <translation>Hier die Referenz der Liste eingeben - erscheint auf der gedruckten Schnittliste</translation>
    </message>
    <message>
        <source>Section: </source>
        <translation>Profil: </translation>
    </message>
    <message>
        <source>Enter the section type or name here - will appear on printed cutting list</source>
        <translation>Hier Profiltyp oder -namen eingeben - erscheint auf der gedruckten Schnittliste</translation>
    </message>
    <message>
        <source>Weight (kg/m): </source>
        <translation>Gewicht (kg/m): </translation>
    </message>
    <message>
        <source>Enter the sections weight (in kg/m) here</source>
        <translation>Hier das Gewicht des Profils (in kg/m) eingeben</translation>
    </message>
    <message>
        <source>Cost:</source>
        <translation>Preis:</translation>
    </message>
    <message>
        <source>Enter the section cost here</source>
        <translation>Hier den Preis des Profils eingeben</translation>
    </message>
    <message>
        <source>Stock bars used:</source>
        <translation>Verbrauchte Stangen:</translation>
    </message>
    <message>
        <source>Cut pieces:</source>
        <translation>Zugeschnittene Teile:</translation>
    </message>
    <message>
        <source>Offcuts returned:</source>
        <translation>Reststücke zurück:</translation>
    </message>
    <message>
        <source>Overall efficiency:</source>
        <translation>Gesamtausnutzung:</translation>
    </message>
    <message>
        <source>Kerf wastage:</source>
        <translation>Verlust Schnittfuge:</translation>
    </message>
    <message>
        <source>Trim wastage:</source>
        <translation>Verlust Besäumen:</translation>
    </message>
    <message>
        <source>Hold wastage:</source>
        <translation>Verlust Einspannen:</translation>
    </message>
    <message>
        <source>Scrap wastage:</source>
        <translation>Verschnitt:</translation>
    </message>
    <message>
        <source>Chargeable material:</source>
        <translation>Berechnetes Material:</translation>
    </message>
    <message>
        <source> Different stock lengths available</source>
        <translation> verschiedene Stangenlängen vorhanden</translation>
    </message>
    <message>
        <source> Stock length available</source>
        <translation> Stangenlänge vorhanden</translation>
    </message>
    <message>
        <source> Different cut lengths required</source>
        <translation> verschiedene Schnittlängen benötigt</translation>
    </message>
    <message>
        <source> Cut length required</source>
        <translation> Schnittlänge benötigt</translation>
    </message>
    <message>
        <source>Calculation Time : </source>
        <translation>Rechenzeit : </translation>
    </message>
    <message>
        <source>Calculation cancelled: the results shown are kept</source>
        <translation>Berechnung abgebrochen: die angezeigten Ergebnisse bleiben erhalten</translation>
    </message>
    <message>
        <source>Cut lengths allocated: </source>
        <translation>Zugeordnete Schnittlängen: </translation>
    </message>
    <message>
        <source>Cut lengths remaining: </source>
        <translation>Verbleibende Schnittlängen: </translation>
    </message>
    <message>
        <source>Testing permutation: </source>
        <translation>Prüfe Permutation: </translation>
    </message>
    <message>
        <source>Searching, step </source>
        <translation>Suche, Schritt </translation>
    </message>
    <message>
        <source>Optimal search</source>
        <translation>Optimale Suche</translation>
    </message>
    <message>
        <source>Finishing</source>
        <translation>Abschluss</translation>
    </message>
    <message>
        <source>Placing pieces</source>
        <translation>Teile werden platziert</translation>
    </message>
    <message>
        <source>Best so far: </source>
        <translation>Bisher am besten: </translation>
    </message>
    <message>
        <source>, lower bound </source>
        <translation>, untere Schranke </translation>
    </message>
    <message>
        <source> of new stock</source>
        <translation> an neuem Material</translation>
    </message>
    <message>
        <source>Pattern </source>
        <translation>Schnittmuster </translation>
    </message>
    <message>
        <source> bar of </source>
        <translation> Stange von </translation>
    </message>
    <message>
        <source> bars of </source>
        <translation> Stangen von </translation>
    </message>
    <message>
        <source> pieces of </source>
        <translation> Teile von </translation>
    </message>
    <message>
        <source>Please check your entry and try again</source>
        <translation>Bitte die Eingabe prüfen und erneut versuchen</translation>
    </message>
    <message>
        <source> is greater than the maximum allowed length of </source>
        <translation> ist größer als die größte zulässige Länge von </translation>
    </message>
    <message>
        <source> is shorter than the minimum allowed length of </source>
        <translation> ist kürzer als die kleinste zulässige Länge von </translation>
    </message>
    <message>
        <source>&apos; is not a length in feet and inches. </source>
        <translation>&apos; ist keine Länge in Fuß und Zoll. </translation>
    </message>
    <message>
        <source>Type feet and inches as </source>
        <translation>Fuß und Zoll so eingeben: </translation>
    </message>
    <message>
        <source> (fractions in halves to 32nds of an inch).</source>
        <translation> (Brüche in Halben bis 32steln Zoll).</translation>
    </message>
    <message>
        <source>&apos; is not a length in whole millimetres.</source>
        <translation>&apos; ist keine Länge in ganzen Millimetern.</translation>
    </message>
    <message>
        <source>&apos; is not a quantity in whole numbers.</source>
        <translation>&apos; ist keine Menge in ganzen Zahlen.</translation>
    </message>
    <message>
        <source> is greater than the maximum allowed quantity of </source>
        <translation> ist größer als die größte zulässige Menge von </translation>
    </message>
    <message>
        <source>A quantity of 0 adds nothing to the list: it must be at least 1.</source>
        <translation>Eine Menge von 0 fügt der Liste nichts hinzu: sie muss mindestens 1 sein.</translation>
    </message>
    <message>
        <source>The stock list already holds the maximum allowed number of </source>
        <translation>Die Stangenliste enthält bereits die größte zulässige Anzahl von </translation>
    </message>
    <message>
        <source>The cut list already holds the maximum allowed number of </source>
        <translation>Die Schnittliste enthält bereits die größte zulässige Anzahl von </translation>
    </message>
    <message>
        <source> stock lengths.</source>
        <translation> Stangenlängen.</translation>
    </message>
    <message>
        <source> cut lengths.</source>
        <translation> Schnittlängen.</translation>
    </message>
    <message>
        <source> was not added:</source>
        <translation> wurde nicht übernommen:</translation>
    </message>
    <message>
        <source> were not added:</source>
        <translation> wurden nicht übernommen:</translation>
    </message>
    <message>
        <source>Line </source>
        <translation>Zeile </translation>
    </message>
    <message>
        <source> pasted lines </source>
        <translation> eingefügten Zeilen </translation>
    </message>
    <message>
        <source> imported lines </source>
        <translation> importierten Zeilen </translation>
    </message>
    <message>
        <source>&apos; is not a quantity and a length.</source>
        <translation>&apos; ist keine Menge mit Länge.</translation>
    </message>
    <message>
        <source>You have not entered a stock length long enough to cut a length of </source>
        <translation>Es ist keine Stangenlänge eingegeben, die lang genug ist für die Schnittlänge </translation>
    </message>
    <message>
        <source>Please check your stock length entries.</source>
        <translation>Bitte die Stangenlängen prüfen.</translation>
    </message>
    <message>
        <source>Please check your cut length entries.</source>
        <translation>Bitte die Schnittlängen prüfen.</translation>
    </message>
    <message>
        <source>This is not a Tallora Datafile, or the file is corrupt</source>
        <translation>Dies ist keine Tallora-Datei, oder die Datei ist beschädigt</translation>
    </message>
    <message>
        <source>Some of the data in this file is corrupted.</source>
        <translation>Ein Teil der Daten in dieser Datei ist beschädigt.</translation>
    </message>
    <message>
        <source>Please check the data in the calculator is OK before proceeding.</source>
        <translation>Bitte vor dem Weiterarbeiten prüfen, ob die Daten im Rechner stimmen.</translation>
    </message>
    <message>
        <source>Your settings have been changed to match those of the loaded file</source>
        <translation>Ihre Einstellungen wurden an die der geladenen Datei angepasst</translation>
    </message>
    <message>
        <source>Data is from a previous version of Tallora.</source>
        <translation>Die Daten stammen aus einer früheren Version von Tallora.</translation>
    </message>
    <message>
        <source>File has now been converted to the new format.</source>
        <translation>Die Datei wurde in das neue Format umgewandelt.</translation>
    </message>
    <message>
        <source>Tallora failed to exit normally when last run.  Would you like to autorecover the last data entered?</source>
        <translation>Tallora wurde beim letzten Mal nicht normal beendet.  Sollen die zuletzt eingegebenen Daten wiederhergestellt werden?</translation>
    </message>
    <message>
        <source>Seconds the Optimal algorithm may search (1 to 3600):</source>
        <translation>Sekunden, die der optimale Algorithmus suchen darf (1 bis 3600):</translation>
    </message>
    <message>
        <source>The time limit must be a whole number of seconds from 1 to 3600.</source>
        <translation>Das Zeitlimit muss eine ganze Zahl von Sekunden von 1 bis 3600 sein.</translation>
    </message>
    <message>
        <source>Threads the Optimal algorithm may use (1 to 64, or 0 for all the machine&apos;s cores):</source>
        <translation>Threads, die der optimale Algorithmus nutzen darf (1 bis 64, oder 0 für alle Kerne des Rechners):</translation>
    </message>
    <message>
        <source>The number of threads must be a whole number from 0 to 64.</source>
        <translation>Die Anzahl der Threads muss eine ganze Zahl von 0 bis 64 sein.</translation>
    </message>
    <message>
        <source> minutes </source>
        <translation> Minuten </translation>
    </message>
    <message>
        <source> minute </source>
        <translation> Minute </translation>
    </message>
    <message>
        <source> seconds</source>
        <translation> Sekunden</translation>
    </message>
    <message>
        <source>Other Charges 1</source>
        <translation>Weitere Kosten 1</translation>
    </message>
    <message>
        <source>Other Charges 2</source>
        <translation>Weitere Kosten 2</translation>
    </message>
    <message>
        <source>Other Charges 3</source>
        <translation>Weitere Kosten 3</translation>
    </message>
    <message>
        <source> (ea)</source>
        <translation> (Stk.)</translation>
    </message>
    <message>
        <source>TOTALS</source>
        <translation>SUMMEN</translation>
    </message>
    <message>
        <source> (stopped at the time limit)</source>
        <translation> (beim Zeitlimit angehalten)</translation>
    </message>
    <message>
        <source> (stopped by the user)</source>
        <translation> (vom Benutzer angehalten)</translation>
    </message>
    <message>
        <source> bars</source>
        <translation> Stangen</translation>
    </message>
    <message>
        <source> of inventory offcuts in </source>
        <translation> an Lager-Reststücken in </translation>
    </message>
    <message>
        <source> of inventory offcuts</source>
        <translation> an Lager-Reststücken</translation>
    </message>
    <message>
        <source> of new stock and </source>
        <translation> an neuem Material und </translation>
    </message>
    <message>
        <source> of usable stock in </source>
        <translation> an nutzbarem Material in </translation>
    </message>
    <message>
        <source>, no lower bound yet</source>
        <translation>, noch keine untere Schranke</translation>
    </message>
    <message>
        <source>, no lower bound: the stock runs out</source>
        <translation>, keine untere Schranke: das Material reicht nicht</translation>
    </message>
    <message>
        <source>proven optimal for new stock</source>
        <translation>nachweislich optimal für neues Material</translation>
    </message>
    <message>
        <source>proven optimal</source>
        <translation>nachweislich optimal</translation>
    </message>
    <message>
        <source>Complex: stopped at the time limit before the search was done; the pieces left were placed as the Fast algorithm places them</source>
        <translation>Komplex: beim Zeitlimit vor dem Ende der Suche angehalten; die übrigen Teile wurden wie vom schnellen Algorithmus platziert</translation>
    </message>
    <message>
        <source>Cutting instructions are as follows:</source>
        <translation>Die Schnittanweisungen lauten:</translation>
    </message>
    <message>
        <source>From the following stock bars:</source>
        <translation>Aus den folgenden Stangen:</translation>
    </message>
    <message>
        <source>Cut the following components:</source>
        <translation>Die folgenden Teile schneiden:</translation>
    </message>
    <message>
        <source>With the following allowances:</source>
        <translation>Mit den folgenden Zugaben:</translation>
    </message>
    <message>
        <source> pieces at </source>
        <translation> Teile zu </translation>
    </message>
    <message>
        <source> piece at </source>
        <translation> Teil zu </translation>
    </message>
    <message>
        <source> long</source>
        <translation> lang</translation>
    </message>
    <message>
        <source>All stock bars to be trimmed by </source>
        <translation>Alle Stangen besäumen um </translation>
    </message>
    <message>
        <source>A vice hold allowance of </source>
        <translation>Einspannzugabe von </translation>
    </message>
    <message>
        <source> per bar</source>
        <translation> je Stange</translation>
    </message>
    <message>
        <source>A wastage of </source>
        <translation>Ein Verlust von </translation>
    </message>
    <message>
        <source> per saw cut</source>
        <translation> je Sägeschnitt</translation>
    </message>
    <message>
        <source>All waste material to be scrapped</source>
        <translation>Alle Reste sind Verschnitt</translation>
    </message>
    <message>
        <source>Any offcuts over </source>
        <translation>Reststücke über </translation>
    </message>
    <message>
        <source> to be returned to stock</source>
        <translation> zurück ins Lager</translation>
    </message>
    <message>
        <source>Please Note: </source>
        <translation>Bitte beachten: </translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Metreage</source>
        <translation>Meter</translation>
    </message>
    <message>
        <source>Footage</source>
        <translation>Fuß</translation>
    </message>
    <message>
        <source>Percentage</source>
        <translation>Anteil</translation>
    </message>
    <message>
        <source>Cost</source>
        <translation>Kosten</translation>
    </message>
    <message>
        <source>Weight</source>
        <translation>Gewicht</translation>
    </message>
    <message>
        <source>: piece </source>
        <translation>: Teil </translation>
    </message>
    <message>
        <source>: trim </source>
        <translation>: Besäumen </translation>
    </message>
    <message>
        <source>: kerf </source>
        <translation>: Schnittfuge </translation>
    </message>
    <message>
        <source>: offcut </source>
        <translation>: Reststück </translation>
    </message>
    <message>
        <source>: scrap </source>
        <translation>: Verschnitt </translation>
    </message>
    <message>
        <source>Print Labels</source>
        <translation>Etiketten drucken</translation>
    </message>
    <message>
        <source>&amp;Layout:</source>
        <translation>&amp;Layout:</translation>
    </message>
    <message>
        <source>&amp;First free label:</source>
        <translation>&amp;Erstes freies Etikett:</translation>
    </message>
    <message>
        <source>Left &amp;margin:</source>
        <translation>Linker &amp;Rand:</translation>
    </message>
    <message>
        <source>&amp;Top margin:</source>
        <translation>&amp;Oberer Rand:</translation>
    </message>
    <message>
        <source>Offcut &amp; Hold: </source>
        <translation>Reststück &amp; Einspannen: </translation>
    </message>
    <message>
        <source>Offcut: </source>
        <translation>Reststück: </translation>
    </message>
    <message>
        <source>Total stock bars used:</source>
        <translation>Verbrauchte Stangen insgesamt:</translation>
    </message>
    <message>
        <source>* Cut from inventory offcuts *</source>
        <translation>* Aus Lager-Reststücken schneiden *</translation>
    </message>
    <message>
        <source>The following items could not be incorporated into</source>
        <translation>Folgende Teile passen nicht in den</translation>
    </message>
    <message>
        <source>the cutting matrix due to insufficient stock lengths</source>
        <translation>Schnittplan: es fehlen Stangenlängen</translation>
    </message>
    <message>
        <source>being available (Note statistics are for allocated</source>
        <translation>(Hinweis: Statistik nur für</translation>
    </message>
    <message>
        <source>the cutting matrix because the job is too large:</source>
        <translation>Schnittplan: der Auftrag ist zu groß:</translation>
    </message>
    <message>
        <source>patterns (Note statistics are for allocated</source>
        <translation>Schnittmuster (Hinweis: Statistik nur für</translation>
    </message>
    <message>
        <source>stock only):</source>
        <translation>zugeteilte Stangen):</translation>
    </message>
    <message>
        <source>(Note statistics are for allocated stock only):</source>
        <translation>(Hinweis: die Statistik gilt nur für zugeteilte Stangen):</translation>
    </message>
    <message>
        <source>The following items could not be incorporated into the cutting matrix due to insufficient stock lengths being available</source>
        <translation>Die folgenden Teile konnten nicht in den Schnittplan aufgenommen werden, da nicht genügend Stangenlängen vorhanden sind</translation>
    </message>
    <message>
        <source>(Empty)</source>
        <translation>(Leer)</translation>
    </message>
    <message>
        <source>a currency symbol of 1 to 8 characters</source>
        <translation>ein Währungszeichen aus 1 bis 8 Zeichen</translation>
    </message>
    <message>
        <source>empty, &quot;.&quot;, &quot;,&quot;, &quot;&apos;&quot; or a blank other than the decimal separator</source>
        <translation>leer, &quot;.&quot;, &quot;,&quot;, &quot;&apos;&quot; oder ein Leerzeichen, das nicht das Dezimaltrennzeichen ist</translation>
    </message>
    <message>
        <source>it is not a database file</source>
        <translation>es ist keine Datenbankdatei</translation>
    </message>
    <message>
        <source>it is a database of something else</source>
        <translation>es ist eine Datenbank für etwas anderes</translation>
    </message>
    <message>
        <source>the file could not be written</source>
        <translation>die Datei konnte nicht geschrieben werden</translation>
    </message>
    <message>
        <source>the file is read-only, so it was left as it was</source>
        <translation>die Datei ist schreibgeschützt und wurde nicht verändert</translation>
    </message>
    <message>
        <source>is a folder, not a file</source>
        <translation>ist ein Ordner, keine Datei</translation>
    </message>
    <message>
        <source>not a regular file, so it was left as it was</source>
        <translation>keine gewöhnliche Datei und wurde daher nicht verändert</translation>
    </message>
    <message>
        <source>the file has other names (hard links) that a save would leave with the old contents, so it was left as it was</source>
        <translation>die Datei hat weitere Namen (harte Links), die beim Speichern den alten Inhalt behielten; sie wurde daher nicht verändert</translation>
    </message>
    <message>
        <source>not a regular file (a pipe or a device)</source>
        <translation>keine gewöhnliche Datei (eine Pipe oder ein Gerät)</translation>
    </message>
    <message>
        <source>it is not a regular file (a pipe or a device)</source>
        <translation>es ist keine gewöhnliche Datei (eine Pipe oder ein Gerät)</translation>
    </message>
    <message>
        <source>the picture could not be drawn at that size</source>
        <translation>das Bild konnte in dieser Größe nicht gezeichnet werden</translation>
    </message>
    <message>
        <source>the picture could not be encoded</source>
        <translation>das Bild konnte nicht kodiert werden</translation>
    </message>
    <message>
        <source>No offcuts were added to the stock list.</source>
        <translation>Es wurden keine Reststücke in die Stangenliste übernommen.</translation>
    </message>
    <message>
        <source>The job was booked to the offcut inventory.</source>
        <translation>Der Auftrag wurde im Reststücklager gebucht.</translation>
    </message>
    <message>
        <source>It returns no offcuts to stock.</source>
        <translation>Er gibt keine Reststücke ins Lager zurück.</translation>
    </message>
    <message>
        <source>It cut no inventory offcuts.</source>
        <translation>Er hat keine Lager-Reststücke geschnitten.</translation>
    </message>
    <message>
        <source>Type the job&apos;s Section first: the offcut inventory keeps its offcuts by section.</source>
        <translation>Zuerst das Profil des Auftrags eingeben: das Reststücklager führt seine Reststücke nach Profil.</translation>
    </message>
    <message>
        <source>The job has no calculated cutting list to book: calculate it first.</source>
        <translation>Der Auftrag hat keine berechnete Schnittliste zum Buchen: zuerst berechnen.</translation>
    </message>
    <message>
        <source>Type the job&apos;s Section before booking its offcuts: the offcut inventory keeps them by section.</source>
        <translation>Vor dem Buchen der Reststücke das Profil des Auftrags eingeben: das Reststücklager führt sie nach Profil.</translation>
    </message>
    <message>
        <source>The offcut inventory keeps its offcuts in millimetres: an imperial job can neither use nor book them.</source>
        <translation>Das Reststücklager führt seine Reststücke in Millimetern: ein Auftrag in Zoll kann sie weder verwenden noch buchen.</translation>
    </message>
    <message>
        <source>Cutting Pattern Number %1:</source>
        <translation>Schnittmuster Nummer %1:</translation>
    </message>
    <message>
        <source>From %1 at %2, cut the following:</source>
        <translation>Aus %1 × %2 Folgendes schneiden:</translation>
    </message>
    <message>
        <source>* Return %1 at %2 offcut to stock *</source>
        <translation>* %1 Reststück zu %2 ins Lager zurück *</translation>
    </message>
    <message>
        <source>* Return %1 at %2 offcuts to stock *</source>
        <translation>* %1 Reststücke zu %2 ins Lager zurück *</translation>
    </message>
    <message>
        <source>it needs more than %1 cutting</source>
        <translation>er braucht über %1</translation>
    </message>
    <message>
        <source>The following items could not be incorporated into the cutting matrix because the job is too large: it needs more than %1 cutting patterns</source>
        <translation>Die folgenden Teile konnten nicht in den Schnittplan aufgenommen werden, weil der Auftrag zu groß ist: er braucht mehr als %1 Schnittmuster</translation>
    </message>
    <message>
        <source>The offcut inventory cannot be kept in %1: the folder cannot be made.</source>
        <translation>Das Reststücklager kann nicht in %1 geführt werden: der Ordner kann nicht angelegt werden.</translation>
    </message>
    <message>
        <source>The offcut inventory has no offcuts of section %1: it is empty.</source>
        <translation>Das Reststücklager hat keine Reststücke des Profils %1: es ist leer.</translation>
    </message>
    <message>
        <source>The offcut inventory has no offcuts of section %1; it has offcuts of %2.</source>
        <translation>Das Reststücklager hat keine Reststücke des Profils %1; es hat Reststücke von %2.</translation>
    </message>
    <message>
        <source>%1 and %2 more</source>
        <translation>%1 und %2 weitere</translation>
    </message>
    <message>
        <source>Added %1 of inventory offcuts of section %2 to the stock list: %3, %4.</source>
        <translation>%1 mit Lager-Reststücken des Profils %2 in die Stangenliste übernommen: %3, %4.</translation>
    </message>
    <message>
        <source>%1 returned to stock (%2) was added.</source>
        <translation>%1 zurück ins Lager (%2) wurde eingelagert.</translation>
    </message>
    <message>
        <source>%1 returned to stock (%2) were added.</source>
        <translation>%1 zurück ins Lager (%2) wurden eingelagert.</translation>
    </message>
    <message>
        <source>%1 (%2) it cut was taken away.</source>
        <translation>%1 (%2), das er geschnitten hat, wurde ausgebucht.</translation>
    </message>
    <message>
        <source>%1 (%2) it cut were taken away.</source>
        <translation>%1 (%2), die er geschnitten hat, wurden ausgebucht.</translation>
    </message>
    <message>
        <source>%1 of the stock list is no longer in the offcut inventory and was taken out of the stock list.</source>
        <translation>%1 der Stangenliste ist nicht mehr im Reststücklager und wurde aus der Stangenliste genommen.</translation>
    </message>
    <message>
        <source>%1 of the stock list are no longer in the offcut inventory and were taken out of the stock list.</source>
        <translation>%1 der Stangenliste sind nicht mehr im Reststücklager und wurden aus der Stangenliste genommen.</translation>
    </message>
    <message>
        <source>The offcut inventory %1 is damaged: %2. It has been left as it is.</source>
        <translation>Das Reststücklager %1 ist beschädigt: %2. Es wurde nicht verändert.</translation>
    </message>
    <message>
        <source>The offcut inventory %1 could not be used: %2</source>
        <translation>Das Reststücklager %1 konnte nicht verwendet werden: %2</translation>
    </message>
    <message>
        <source>The offcut inventory %1 cannot be used: %2 is not a regular file (a pipe or a device). It has been left as it is.</source>
        <translation>Das Reststücklager %1 kann nicht verwendet werden: %2 ist keine gewöhnliche Datei (eine Pipe oder ein Gerät). Es wurde nicht verändert.</translation>
    </message>
    <message>
        <source>The offcut inventory %1 was written by a newer version of Tallora (inventory version %2; this version reads up to %3). It has been left as it is: open it with that version.</source>
        <translation>Das Reststücklager %1 wurde von einer neueren Version von Tallora geschrieben (Lagerversion %2; diese Version liest bis %3). Es wurde nicht verändert: bitte mit jener Version öffnen.</translation>
    </message>
    <message>
        <source>An offcut must be 1 to %1mm long, not %2mm.</source>
        <translation>Ein Reststück muss 1 bis %1mm lang sein, nicht %2mm.</translation>
    </message>
    <message>
        <source>An offcut needs at least one piece, not %1.</source>
        <translation>Ein Reststück braucht mindestens ein Stück, nicht %1.</translation>
    </message>
    <message>
        <source>Offcut %1 is not in the offcut inventory.</source>
        <translation>Reststück %1 ist nicht im Reststücklager.</translation>
    </message>
    <message>
        <source>Offcut %1 is in the offcut inventory already.</source>
        <translation>Reststück %1 ist bereits im Reststücklager.</translation>
    </message>
    <message>
        <source>This calculation was booked into the offcut inventory on %1 (%2): it is not booked twice.</source>
        <translation>Diese Berechnung wurde am %1 (%2) im Reststücklager gebucht: sie wird nicht zweimal gebucht.</translation>
    </message>
    <message>
        <source>This calculation was booked into the offcut inventory on %1: it is not booked twice.</source>
        <translation>Diese Berechnung wurde am %1 im Reststücklager gebucht: sie wird nicht zweimal gebucht.</translation>
    </message>
    <message>
        <source>Offcut %1 the job used is no longer in the offcut inventory: nothing was booked.</source>
        <translation>Reststück %1, das der Auftrag verwendet, ist nicht mehr im Reststücklager: es wurde nichts gebucht.</translation>
    </message>
    <message>
        <source>Offcut %1 has %2 left in the offcut inventory but the job used %3: nothing was booked.</source>
        <translation>Von Reststück %1 sind noch %2 im Reststücklager, der Auftrag hat aber %3 verwendet: es wurde nichts gebucht.</translation>
    </message>
    <message>
        <source>The job cut inventory offcuts of %1mm that another job has used meanwhile, and the offcut inventory has %2 too few others of that section and length: nothing was booked. Use the offcuts again and calculate the job before booking it.</source>
        <translation>Der Auftrag schneidet Lager-Reststücke zu %1mm, die inzwischen ein anderer Auftrag verwendet hat, und dem Reststücklager fehlen %2 weitere dieses Profils und dieser Länge: es wurde nichts gebucht. Die Reststücke erneut übernehmen und den Auftrag vor dem Buchen berechnen.</translation>
    </message>
    <message>
        <source>The offcut inventory has no booking %1.</source>
        <translation>Das Reststücklager hat keine Buchung %1.</translation>
    </message>
    <message>
        <source>Booking %1 was made by an earlier version of Tallora, which kept no record of the offcuts it took: it cannot be undone.</source>
        <translation>Buchung %1 stammt von einer früheren Version von Tallora, die die entnommenen Reststücke nicht festhielt: sie kann nicht zurückgenommen werden.</translation>
    </message>
    <message>
        <source>Offcut %1 that the booking added has been used or changed since: the booking cannot be undone, and nothing was changed.</source>
        <translation>Reststück %1, das die Buchung eingelagert hat, wurde seitdem verwendet oder geändert: die Buchung kann nicht zurückgenommen werden, und nichts wurde verändert.</translation>
    </message>
    <message>
        <source>The job needs %1 labels: a PDF of labels holds at most %2.</source>
        <translation>Der Auftrag braucht %1 Etiketten: ein Etiketten-PDF fasst höchstens %2.</translation>
    </message>
    <message>
        <source>the folder %1 does not exist</source>
        <translation>der Ordner %1 existiert nicht</translation>
    </message>
    <message>
        <source>The file %1 could not be read:</source>
        <translation>Die Datei %1 konnte nicht gelesen werden:</translation>
    </message>
    <message>
        <source>The file %1 is larger than %2 MB: it is not a list of rows.</source>
        <translation>Die Datei %1 ist größer als %2 MB: sie ist keine Liste von Zeilen.</translation>
    </message>
    <message>
        <source>That file could no longer be found and has been removed from the Reopen list:</source>
        <translation>Diese Datei wurde nicht mehr gefunden und aus der Liste „Erneut öffnen“ entfernt:</translation>
    </message>
    <message>
        <source>%1 &quot;%2&quot; is not %3: the locale&apos;s is used.</source>
        <translation>%1 &quot;%2&quot; ist nicht %3: es gilt die Einstellung des Systems.</translation>
    </message>
    <message>
        <source>%1 cut at %2 long, producing %3 piece</source>
        <translation>%1 Schnitt zu %2 Länge, ergibt %3 Teil</translation>
    </message>
    <message>
        <source>%1 cut at %2 long, producing %3 pieces</source>
        <translation>%1 Schnitt zu %2 Länge, ergibt %3 Teile</translation>
    </message>
    <message>
        <source>%1 cuts at %2 long, producing %3 pieces</source>
        <translation>%1 Schnitte zu %2 Länge, ergibt %3 Teile</translation>
    </message>
    <message>
        <source>%1 bar at %2</source>
        <translation>%1 Stange zu %2</translation>
    </message>
    <message>
        <source>%1 bars at %2</source>
        <translation>%1 Stangen zu %2</translation>
    </message>
    <message>
        <source>%1 pieces at %2</source>
        <translation>%1 Teile zu %2</translation>
    </message>
    <message>
        <source>%1 piece at %2 long</source>
        <translation>%1 Teil zu %2 Länge</translation>
    </message>
    <message>
        <source>%1 row</source>
        <translation>%1 Zeile</translation>
    </message>
    <message>
        <source>%1 rows</source>
        <translation>%1 Zeilen</translation>
    </message>
    <message>
        <source>%1 piece</source>
        <translation>%1 Teil</translation>
    </message>
    <message>
        <source>%1 pieces</source>
        <translation>%1 Teile</translation>
    </message>
    <message>
        <source>%1 offcut</source>
        <translation>%1 Reststück</translation>
    </message>
    <message>
        <source>%1 offcuts</source>
        <translation>%1 Reststücke</translation>
    </message>
    <message>
        <source>%1 inventory offcut</source>
        <translation>%1 Lager-Reststück</translation>
    </message>
    <message>
        <source>%1 inventory offcuts</source>
        <translation>%1 Lager-Reststücke</translation>
    </message>
    <message>
        <source>%1 offcut is in the stock list already.</source>
        <translation>%1 Reststück ist bereits in der Stangenliste.</translation>
    </message>
    <message>
        <source>%1 offcuts are in the stock list already.</source>
        <translation>%1 Reststücke sind bereits in der Stangenliste.</translation>
    </message>
    <message>
        <source>%1 offcut was left out: the stock list has a row of that length already.</source>
        <translation>%1 Reststück wurde ausgelassen: die Stangenliste hat schon eine Zeile dieser Länge.</translation>
    </message>
    <message>
        <source>%1 offcuts were left out: the stock list has a row of that length already.</source>
        <translation>%1 Reststücke wurden ausgelassen: die Stangenliste hat schon eine Zeile dieser Länge.</translation>
    </message>
    <message>
        <source>%1 offcut was left out: the stock list is full.</source>
        <translation>%1 Reststück wurde ausgelassen: die Stangenliste ist voll.</translation>
    </message>
    <message>
        <source>%1 offcuts were left out: the stock list is full.</source>
        <translation>%1 Reststücke wurden ausgelassen: die Stangenliste ist voll.</translation>
    </message>
    <message>
        <source>Scrap &amp; Hold</source>
        <translation>Verschnitt &amp; Einspannen</translation>
    </message>
    <message>
        <source>Scrap</source>
        <translation>Verschnitt</translation>
    </message>
    <message>
        <source>Trim</source>
        <translation>Besäumen</translation>
    </message>
    <message>
        <source>Kerf</source>
        <translation>Fuge</translation>
    </message>
    <message>
        <source>Saw sheet</source>
        <translation>Sägeliste</translation>
    </message>
    <message>
        <source>The saw sheet stops here: the CSV holds every bar.</source>
        <translation>Die Sägeliste endet hier: die CSV-Datei enthält jede Stange.</translation>
    </message>
    <message>
        <source>Offcut</source>
        <translation>Reststück</translation>
    </message>
    <message>
        <source>Return to stock</source>
        <translation>Zurück ins Lager</translation>
    </message>
    <message>
        <source>Bar %1: %2  (pattern %3, bar %4 of %5)</source>
        <translation>Stange %1: %2  (Schnittmuster %3, Stange %4 von %5)</translation>
    </message>
    <message>
        <source>Bar %1: %2 inventory offcut  (pattern %3, bar %4 of %5)</source>
        <translation>Stange %1: %2 Lager-Reststück  (Schnittmuster %3, Stange %4 von %5)</translation>
    </message>
    <message>
        <source>Bars: %1    Saw cuts: %2    Length sawn: %3</source>
        <translation>Stangen: %1    Sägeschnitte: %2    Gesägte Länge: %3</translation>
    </message>
    <message>
        <source>Kerf %1, trim %2, hold %3. Cut the bars in this order; the remaining length is the bar after each cut.</source>
        <translation>Schnittfuge %1, Besäumen %2, Einspannen %3. Die Stangen in dieser Reihenfolge schneiden; die Restlänge ist die Stange nach jedem Schnitt.</translation>
    </message>
    <message>
        <source>remaining %1</source>
        <translation>Rest %1</translation>
    </message>
    <message>
        <source>Keep offcut %1</source>
        <translation>Reststück %1 aufbewahren</translation>
    </message>
    <message>
        <source>Scrap %1</source>
        <translation>Verschnitt %1</translation>
    </message>
    <message>
        <source>Pattern %1, bar %2 of %3</source>
        <translation>Schnittmuster %1, Stange %2 von %3</translation>
    </message>
    <message>
        <source>Pattern %1, bar %2 of %3, inventory %4</source>
        <translation>Schnittmuster %1, Stange %2 von %3, Lager %4</translation>
    </message>
    <message>
        <source>Section %1</source>
        <translation>Profil %1</translation>
    </message>
    <message>
        <source>The offcut inventory %1 cannot be used: %2 is a folder. It has been left as it is.</source>
        <translation>Das Reststücklager %1 kann nicht verwendet werden: %2 ist ein Ordner. Es wurde nicht verändert.</translation>
    </message>
</context>
<context>
    <name>tallora::AboutBox</name>
    <message>
        <source>About Tallora</source>
        <translation>Über Tallora</translation>
    </message>
    <message>
        <source>&lt;h2&gt;Tallora&lt;/h2&gt;</source>
        <translation>&lt;h2&gt;Tallora&lt;/h2&gt;</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
    <message>
        <source>Vantorel Software</source>
        <translation>Vantorel Software</translation>
    </message>
    <message>
        <source>Cutting lists for steel sections, bars and tubes:
the least material, cut to the millimetre.</source>
        <translation>Schnittlisten für Stahlprofile, Stangen und Rohre:
mit dem wenigsten Material, millimetergenau.</translation>
    </message>
</context>
<context>
    <name>tallora::AdditionalDataPanel</name>
    <message>
        <source> Additional data </source>
        <translation> Weitere Angaben </translation>
    </message>
    <message>
        <source>Per tonne</source>
        <translation>Je Tonne</translation>
    </message>
    <message>
        <source>Per metre</source>
        <translation>Je Meter</translation>
    </message>
    <message>
        <source>Select a type for the cost shown in the box above</source>
        <translation>Die Bezugsgröße für den Preis im Feld darüber wählen</translation>
    </message>
    <message>
        <source>Per cwt</source>
        <translation>Je cwt</translation>
    </message>
    <message>
        <source>Weight (lb/ft): </source>
        <translation>Gewicht (lb/ft): </translation>
    </message>
    <message>
        <source>Enter the sections weight (in lb/ft) here</source>
        <translation>Hier das Gewicht des Profils (in lb/ft) eingeben</translation>
    </message>
    <message>
        <source>Per ton</source>
        <translation>Je ton</translation>
    </message>
    <message>
        <source>Per foot</source>
        <translation>Je Fuß</translation>
    </message>
    <message>
        <source>QLineEdit { border: 1px solid #c00000; }</source>
        <translation>QLineEdit { border: 1px solid #c00000; }</translation>
    </message>
</context>
<context>
    <name>tallora::CostingWindow</name>
    <message>
        <source>Tallora: Material Costing</source>
        <translation>Tallora: Materialkalkulation</translation>
    </message>
    <message>
        <source> Material Cost * </source>
        <translation> Materialkosten * </translation>
    </message>
    <message>
        <source>Per tonne</source>
        <translation>Je Tonne</translation>
    </message>
    <message>
        <source>Per metre</source>
        <translation>Je Meter</translation>
    </message>
    <message>
        <source> Weight </source>
        <translation> Gewicht </translation>
    </message>
    <message>
        <source>kg/m</source>
        <translation>kg/m</translation>
    </message>
    <message>
        <source>Per cwt</source>
        <translation>Je cwt</translation>
    </message>
    <message>
        <source> Cutting Charge * </source>
        <translation> Schnittkosten * </translation>
    </message>
    <message>
        <source>Lump sum</source>
        <translation>Pauschal</translation>
    </message>
    <message>
        <source>Per cut</source>
        <translation>Je Schnitt</translation>
    </message>
    <message>
        <source>Each</source>
        <translation>Je Stück</translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>Menge</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Net Weight (ea)</source>
        <translation>Nettogewicht (Stk.)</translation>
    </message>
    <message>
        <source>Material cost (ea)</source>
        <translation>Materialkosten (Stk.)</translation>
    </message>
    <message>
        <source>Cutting Charge (ea)</source>
        <translation>Schnittkosten (Stk.)</translation>
    </message>
    <message>
        <source>Total Cost (ea)</source>
        <translation>Gesamtkosten (Stk.)</translation>
    </message>
    <message>
        <source>(** Calculated on Net Cut Pieces)</source>
        <translation>(** berechnet auf die Netto-Schnittteile)</translation>
    </message>
    <message>
        <source>(*   Calculated on Gross Material Used)</source>
        <translation>(*   berechnet auf das verbrauchte Bruttomaterial)</translation>
    </message>
    <message>
        <source>Copy to Clipboard</source>
        <translation>In die Zwischenablage</translation>
    </message>
    <message>
        <source>lb/ft</source>
        <translation>lb/ft</translation>
    </message>
    <message>
        <source>Per ton</source>
        <translation>Je ton</translation>
    </message>
    <message>
        <source>Per foot</source>
        <translation>Je Fuß</translation>
    </message>
    <message>
        <source>Rename Charge</source>
        <translation>Kostenart umbenennen</translation>
    </message>
    <message>
        <source>Enter a name for this charge (leave blank to reset to default):</source>
        <translation>Einen Namen für diese Kostenart eingeben (leer lassen für den Standardnamen):</translation>
    </message>
</context>
<context>
    <name>tallora::DiagramImage</name>
    <message>
        <source>Shows the calculated cutting patterns visually</source>
        <translation>Zeigt die berechneten Schnittmuster als Bild</translation>
    </message>
</context>
<context>
    <name>tallora::DiagramWindow</name>
    <message>
        <source>Tallora: View Cutting Patterns</source>
        <translation>Tallora: Schnittmuster ansehen</translation>
    </message>
</context>
<context>
    <name>tallora::EntryListModel</name>
    <message>
        <source>From the offcut inventory: </source>
        <translation>Aus dem Reststücklager: </translation>
    </message>
    <message>
        <source>Mark: </source>
        <translation>Position: </translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>Menge</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Pos.-Nr.</translation>
    </message>
</context>
<context>
    <name>tallora::EntryPanel</name>
    <message>
        <source> Stock Lengths Available </source>
        <translation> Vorhandene Stangenlängen </translation>
    </message>
    <message>
        <source> Cut Lengths Required </source>
        <translation> Benötigte Schnittlängen </translation>
    </message>
    <message>
        <source>Quantity</source>
        <translation>Menge</translation>
    </message>
    <message>
        <source>Length</source>
        <translation>Länge</translation>
    </message>
    <message>
        <source>(Enter * for unlimited quantity)</source>
        <translation>(* für unbegrenzte Menge)</translation>
    </message>
    <message>
        <source>Modify</source>
        <translation>Ändern</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Stock Length</source>
        <translation>Stangenlänge</translation>
    </message>
    <message>
        <source>Cut Length</source>
        <translation>Schnittlänge</translation>
    </message>
    <message>
        <source>Merge </source>
        <translation>Zusammenführen: </translation>
    </message>
    <message>
        <source>Add </source>
        <translation>Hinzufügen: </translation>
    </message>
    <message>
        <source>Modify </source>
        <translation>Ändern: </translation>
    </message>
    <message>
        <source>Delete </source>
        <translation>Löschen: </translation>
    </message>
    <message>
        <source>Sort </source>
        <translation>Sortieren: </translation>
    </message>
    <message>
        <source>Paste </source>
        <translation>Einfügen: </translation>
    </message>
    <message>
        <source>Import </source>
        <translation>Importieren: </translation>
    </message>
    <message>
        <source>Type the quantity of stock bars you have of this size here, then press &lt;ENTER&gt; and type the length of the bar in the Length input box</source>
        <translation>Hier die Anzahl der vorhandenen Stangen dieser Größe eingeben, dann &lt;EINGABE&gt; drücken und die Länge der Stange im Feld Länge eingeben</translation>
    </message>
    <message>
        <source>Displays all the stock lengths you have entered. To alter or remove an item, click on it to select it, them click Modify or Delete</source>
        <translation>Zeigt alle eingegebenen Stangenlängen. Zum Ändern oder Entfernen einen Eintrag anklicken und dann Ändern oder Löschen wählen</translation>
    </message>
    <message>
        <source>Displays all the cut lengths you have entered. To alter or remove an item, click on it to select it, them click Modify or Delete</source>
        <translation>Zeigt alle eingegebenen Schnittlängen. Zum Ändern oder Entfernen einen Eintrag anklicken und dann Ändern oder Löschen wählen</translation>
    </message>
    <message>
        <source>Mark</source>
        <translation>Pos.-Nr.</translation>
    </message>
</context>
<context>
    <name>tallora::InventoryModel</name>
    <message>
        <source>pattern %1</source>
        <translation>Schnittmuster %1</translation>
    </message>
    <message>
        <source>No.</source>
        <translation>Nr.</translation>
    </message>
    <message>
        <source>Section</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>Length (mm)</source>
        <translation>Länge (mm)</translation>
    </message>
    <message>
        <source>Count</source>
        <translation>Anzahl</translation>
    </message>
    <message>
        <source>Source</source>
        <translation>Herkunft</translation>
    </message>
    <message>
        <source>Booked</source>
        <translation>Gebucht</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Lagerort</translation>
    </message>
</context>
<context>
    <name>tallora::InventoryWindow</name>
    <message>
        <source>Add Offcut</source>
        <translation>Reststück hinzufügen</translation>
    </message>
    <message>
        <source>Edit Offcut %1</source>
        <translation>Reststück %1 bearbeiten</translation>
    </message>
    <message>
        <source>Delete Offcut %1</source>
        <translation>Reststück %1 löschen</translation>
    </message>
    <message>
        <source>Delete %1 Offcuts</source>
        <translation>%1 Reststücke löschen</translation>
    </message>
    <message>
        <source>Tallora: Offcut Inventory</source>
        <translation>Tallora: Reststücklager</translation>
    </message>
    <message>
        <source>&amp;Section:</source>
        <translation>&amp;Profil:</translation>
    </message>
    <message>
        <source>&amp;Add...</source>
        <translation>&amp;Hinzufügen...</translation>
    </message>
    <message>
        <source>&amp;Edit...</source>
        <translation>&amp;Bearbeiten...</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Undo &amp;Booking...</source>
        <translation>&amp;Buchung zurücknehmen...</translation>
    </message>
    <message>
        <source>E&amp;xport CSV...</source>
        <translation>CSV e&amp;xportieren...</translation>
    </message>
    <message>
        <source>Undo </source>
        <translation>Rückgängig: </translation>
    </message>
    <message>
        <source>Redo </source>
        <translation>Wiederholen: </translation>
    </message>
    <message>
        <source>Totals per section:</source>
        <translation>Summen je Profil:</translation>
    </message>
    <message>
        <source>Section</source>
        <translation>Profil</translation>
    </message>
    <message>
        <source>Offcuts</source>
        <translation>Reststücke</translation>
    </message>
    <message>
        <source>Pieces</source>
        <translation>Stück</translation>
    </message>
    <message>
        <source>Metres</source>
        <translation>Meter</translation>
    </message>
    <message>
        <source> mm</source>
        <translation> mm</translation>
    </message>
    <message>
        <source>Rack or bay, if you like</source>
        <translation>Regal oder Fach, nach Belieben</translation>
    </message>
    <message>
        <source>&amp;Length:</source>
        <translation>&amp;Länge:</translation>
    </message>
    <message>
        <source>&amp;Count:</source>
        <translation>&amp;Anzahl:</translation>
    </message>
    <message>
        <source>L&amp;ocation:</source>
        <translation>Lager&amp;ort:</translation>
    </message>
    <message>
        <source>All sections</source>
        <translation>Alle Profile</translation>
    </message>
    <message>
        <source>1 offcut</source>
        <translation>1 Reststück</translation>
    </message>
    <message>
        <source>%1 offcuts</source>
        <translation>%1 Reststücke</translation>
    </message>
    <message>
        <source>The offcut inventory has no bookings.</source>
        <translation>Das Reststücklager hat keine Buchungen.</translation>
    </message>
    <message>
        <source>Booking %1, %2</source>
        <translation>Buchung %1, %2</translation>
    </message>
    <message>
        <source>, reference %1</source>
        <translation>, Referenz %1</translation>
    </message>
    <message>
        <source>Undo Booking</source>
        <translation>Buchung zurücknehmen</translation>
    </message>
    <message>
        <source>Which booking should be undone? The offcuts it cut come back, the offcuts it returned go, and its job can be booked again.</source>
        <translation>Welche Buchung soll zurückgenommen werden? Die dabei geschnittenen Reststücke kommen zurück, die zurückgegebenen gehen, und der Auftrag kann erneut gebucht werden.</translation>
    </message>
    <message>
        <source>1 piece</source>
        <translation>1 Stück</translation>
    </message>
    <message>
        <source>%1 pieces</source>
        <translation>%1 Stück</translation>
    </message>
    <message>
        <source>Booking %1 was undone: %2 of inventory offcuts put back, %3 of returned offcuts taken away.</source>
        <translation>Buchung %1 wurde zurückgenommen: %2 Lager-Reststücke zurückgelegt, %3 zurückgegebene Reststücke entfernt.</translation>
    </message>
</context>
<context>
    <name>tallora::MainWindow</name>
    <message>
        <source>&amp;Turn hints off</source>
        <translation>&amp;Hinweise ausschalten</translation>
    </message>
    <message>
        <source>&amp;Turn hints on</source>
        <translation>&amp;Hinweise einschalten</translation>
    </message>
    <message>
        <source>Error opening file.<byte value="xd"/>
%1: %2</source>
        <translation>Fehler beim Öffnen der Datei.</translation>
    </message>
    <message>
        <source>untitled</source>
        <translation>unbenannt</translation>
    </message>
    <message>
        <source>Tallora: [</source>
        <translation>Tallora: [</translation>
    </message>
    <message>
        <source>%1.<byte value="xd"/>
Please correct it before calculating.</source>
        <translation>%1.</translation>
    </message>
    <message>
        <source>Calculating Solution... Please Wait a Moment</source>
        <translation>Lösung wird berechnet... Bitte einen Moment warten</translation>
    </message>
    <message>
        <source>Optimal Time Limit</source>
        <translation>Zeitlimit Optimal</translation>
    </message>
    <message>
        <source>Optimal Threads</source>
        <translation>Threads Optimal</translation>
    </message>
    <message>
        <source>The help pages are in<byte value="xd"/>
%1<byte value="xd"/>
but no program could be started to show them.</source>
        <translation>Die Hilfeseiten liegen in</translation>
    </message>
    <message>
        <source>The help pages could not be found beside the program.</source>
        <translation>Die Hilfeseiten wurden neben dem Programm nicht gefunden.</translation>
    </message>
    <message>
        <source>&amp;New</source>
        <translation>&amp;Neu</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Start a new cutting list</source>
        <translation>Eine neue Schnittliste beginnen</translation>
    </message>
    <message>
        <source>&amp;Open...</source>
        <translation>&amp;Öffnen...</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Öffnen</translation>
    </message>
    <message>
        <source>Open a saved cutting list</source>
        <translation>Eine gespeicherte Schnittliste öffnen</translation>
    </message>
    <message>
        <source>&amp;Save</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Speichern</translation>
    </message>
    <message>
        <source>Save the cutting list</source>
        <translation>Die Schnittliste speichern</translation>
    </message>
    <message>
        <source>Save &amp;As...</source>
        <translation>Speichern &amp;unter...</translation>
    </message>
    <message>
        <source>&amp;Print...</source>
        <translation>&amp;Drucken...</translation>
    </message>
    <message>
        <source>Print PDF</source>
        <translation>PDF drucken</translation>
    </message>
    <message>
        <source>Make the cutting report as a PDF file and open it</source>
        <translation>Den Schnittbericht als PDF-Datei erstellen und öffnen</translation>
    </message>
    <message>
        <source>&amp;Export PDF...</source>
        <translation>PDF &amp;exportieren...</translation>
    </message>
    <message>
        <source>Write the cutting report as a PDF file where you choose</source>
        <translation>Den Schnittbericht als PDF-Datei an einem gewählten Ort speichern</translation>
    </message>
    <message>
        <source>&amp;Import Rows...</source>
        <translation>Zeilen &amp;importieren...</translation>
    </message>
    <message>
        <source>Add stock or cut lengths from a CSV or text file</source>
        <translation>Stangen- oder Schnittlängen aus einer CSV- oder Textdatei hinzufügen</translation>
    </message>
    <message>
        <source>Export &amp;Cutting List...</source>
        <translation>S&amp;chnittliste exportieren...</translation>
    </message>
    <message>
        <source>Write the cutting list as a CSV file for a spreadsheet</source>
        <translation>Die Schnittliste als CSV-Datei für eine Tabellenkalkulation speichern</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Undo the last change to the lists, settings or data</source>
        <translation>Die letzte Änderung an Listen, Einstellungen oder Angaben rückgängig machen</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederholen</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Make the change that was undone again</source>
        <translation>Die rückgängig gemachte Änderung erneut ausführen</translation>
    </message>
    <message>
        <source>&amp;Use Offcuts from Inventory</source>
        <translation>Reststücke aus dem Lager &amp;verwenden</translation>
    </message>
    <message>
        <source>Add the inventory&apos;s offcuts of the job&apos;s section to the stock list</source>
        <translation>Die Reststücke des Profils aus dem Lager in die Stangenliste übernehmen</translation>
    </message>
    <message>
        <source>&amp;Book Offcuts to Inventory</source>
        <translation>Reststücke ins Lager &amp;buchen</translation>
    </message>
    <message>
        <source>Keep the offcuts this job returns to stock, and take away the inventory offcuts it cut</source>
        <translation>Die Reststücke dieses Auftrags einlagern und die geschnittenen Lager-Reststücke ausbuchen</translation>
    </message>
    <message>
        <source>Offcut &amp;Inventory...</source>
        <translation>Reststück&amp;lager...</translation>
    </message>
    <message>
        <source>See, change and export the offcuts kept in stock</source>
        <translation>Die gelagerten Reststücke ansehen, ändern und exportieren</translation>
    </message>
    <message>
        <source>Calculate</source>
        <translation>Berechnen</translation>
    </message>
    <message>
        <source>Work out the cutting patterns for the lengths entered</source>
        <translation>Die Schnittmuster für die eingegebenen Längen berechnen</translation>
    </message>
    <message>
        <source>Cutting Diagram</source>
        <translation>Schnittbild</translation>
    </message>
    <message>
        <source>Show the cutting patterns as bar diagrams</source>
        <translation>Die Schnittmuster als Stangenbilder zeigen</translation>
    </message>
    <message>
        <source> Material Costing </source>
        <translation> Materialkalkulation </translation>
    </message>
    <message>
        <source>Price the material, cutting and other charges of the job</source>
        <translation>Material, Schnitt und weitere Kosten des Auftrags kalkulieren</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Beenden</translation>
    </message>
    <message>
        <source>Close Tallora</source>
        <translation>Tallora schließen</translation>
    </message>
    <message>
        <source>Complex</source>
        <translation>Komplex</translation>
    </message>
    <message>
        <source>Fast</source>
        <translation>Schnell</translation>
    </message>
    <message>
        <source>Optimal</source>
        <translation>Optimal</translation>
    </message>
    <message>
        <source>Search for the plan that uses the least stock, and prove how close it is</source>
        <translation>Den Plan mit dem wenigsten Material suchen und zeigen, wie nah er am Optimum liegt</translation>
    </message>
    <message>
        <source>Optimal &amp;Time Limit...</source>
        <translation>&amp;Zeitlimit Optimal...</translation>
    </message>
    <message>
        <source>How many seconds the Optimal algorithm may search</source>
        <translation>Wie viele Sekunden der optimale Algorithmus suchen darf</translation>
    </message>
    <message>
        <source>Optimal T&amp;hreads...</source>
        <translation>&amp;Threads Optimal...</translation>
    </message>
    <message>
        <source>How many threads the Optimal algorithm may search on</source>
        <translation>Auf wie vielen Threads der optimale Algorithmus suchen darf</translation>
    </message>
    <message>
        <source>&amp;Contents</source>
        <translation>&amp;Inhalt</translation>
    </message>
    <message>
        <source>&amp;About</source>
        <translation>Ü&amp;ber</translation>
    </message>
    <message>
        <source>&amp;Options</source>
        <translation>&amp;Optionen</translation>
    </message>
    <message>
        <source>Metric (mm)</source>
        <translation>Metrisch (mm)</translation>
    </message>
    <message>
        <source>Imperial, to 1/16 inch</source>
        <translation>Zoll, auf 1/16 Zoll</translation>
    </message>
    <message>
        <source>Imperial, to 1/32 inch</source>
        <translation>Zoll, auf 1/32 Zoll</translation>
    </message>
    <message>
        <source>Imperial, to 1/8 inch</source>
        <translation>Zoll, auf 1/8 Zoll</translation>
    </message>
    <message>
        <source>Imperial, decimal inches</source>
        <translation>Zoll, dezimal</translation>
    </message>
    <message>
        <source>&amp;Units of This Job</source>
        <translation>&amp;Einheiten dieses Auftrags</translation>
    </message>
    <message>
        <source>Units of &amp;New Jobs</source>
        <translation>Einheiten &amp;neuer Aufträge</translation>
    </message>
    <message>
        <source>&amp;Language</source>
        <translation>&amp;Sprache</translation>
    </message>
    <message>
        <source>System Language</source>
        <translation>Sprache des Systems</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>Reopen...</source>
        <translation>Zuletzt geöffnet...</translation>
    </message>
    <message>
        <source>&amp;Edit</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;Algorithm</source>
        <translation>&amp;Algorithmus</translation>
    </message>
    <message>
        <source>&amp;Inventory</source>
        <translation>&amp;Lager</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>Save changes to %1 ?</source>
        <translation>Änderungen an %1 speichern?</translation>
    </message>
    <message>
        <source>Save Tallora Datafile</source>
        <translation>Tallora-Datei speichern</translation>
    </message>
    <message>
        <source>Open Tallora Datafile</source>
        <translation>Tallora-Datei öffnen</translation>
    </message>
    <message>
        <source>Tallora Datafile (*.tlf)|*.tlf|Any file (*.*)|*.*</source>
        <translation>Tallora-Datei (*.tlf)|*.tlf|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Material Costing</source>
        <translation>Materialkalkulation</translation>
    </message>
    <message>
        <source>The report was written to<byte value="xd"/>
%1<byte value="xd"/>
but no program could be started to show it. It is removed when Tallora closes: File, Export PDF... keeps a copy where you choose.</source>
        <translation>Der Bericht wurde gespeichert in</translation>
    </message>
    <message>
        <source>%1 file (*.%2)|*.%2|Any file (*.*)|*.*</source>
        <translation>%1-Datei (*.%2)|*.%2|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Export PDF</source>
        <translation>PDF exportieren</translation>
    </message>
    <message>
        <source>The report could not be written to<byte value="xd"/>
%1<byte value="xd"/>
The folder may not exist or may not be writable, or another program has the file open.</source>
        <translation>Der Bericht konnte nicht gespeichert werden in</translation>
    </message>
    <message>
        <source>Import Rows</source>
        <translation>Zeilen importieren</translation>
    </message>
    <message>
        <source>Which list should the rows of the file go into?</source>
        <translation>In welche Liste sollen die Zeilen der Datei?</translation>
    </message>
    <message>
        <source>Stock</source>
        <translation>Stangen</translation>
    </message>
    <message>
        <source>Cut</source>
        <translation>Schnitte</translation>
    </message>
    <message>
        <source>Import Stock Lengths</source>
        <translation>Stangenlängen importieren</translation>
    </message>
    <message>
        <source>Import Cut Lengths</source>
        <translation>Schnittlängen importieren</translation>
    </message>
    <message>
        <source>Rows (*.csv;*.tsv;*.txt)|*.csv;*.tsv;*.txt|CSV file (*.csv)|*.csv|Any file (*.*)|*.*</source>
        <translation>Zeilen (*.csv;*.tsv;*.txt)|*.csv;*.tsv;*.txt|CSV-Datei (*.csv)|*.csv|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>Export Cutting List</source>
        <translation>Schnittliste exportieren</translation>
    </message>
    <message>
        <source>The cutting list could not be written to<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Die Schnittliste konnte nicht gespeichert werden in</translation>
    </message>
    <message>
        <source>Use Offcuts from Inventory</source>
        <translation>Reststücke aus dem Lager verwenden</translation>
    </message>
    <message>
        <source>The job was changed after the plan shown was calculated, so the plan may cut bars or offcuts that are no longer in the lists. Nothing was booked.<byte value="xd"/>
Calculate the job again now? Book the new plan once it is shown.</source>
        <translation>Der Auftrag wurde nach der Berechnung des angezeigten Plans geändert; der Plan kann Stangen oder Reststücke schneiden, die nicht mehr in den Listen stehen. Es wurde nichts gebucht.</translation>
    </message>
    <message>
        <source>Book Offcuts to Inventory</source>
        <translation>Reststücke ins Lager buchen</translation>
    </message>
    <message>
        <source>Offcuts Gone from Inventory</source>
        <translation>Reststücke nicht mehr im Lager</translation>
    </message>
    <message>
        <source>Units</source>
        <translation>Einheiten</translation>
    </message>
    <message>
        <source>Some lengths were rounded to the nearest %1 in the new units: check the lists and the settings before you calculate.</source>
        <translation>Einige Längen wurden in den neuen Einheiten auf %1 gerundet: bitte vor dem Berechnen Listen und Einstellungen prüfen.</translation>
    </message>
    <message>
        <source>1/32 inch</source>
        <translation>1/32 Zoll</translation>
    </message>
    <message>
        <source>millimetre</source>
        <translation>Millimeter</translation>
    </message>
    <message>
        <source>Tallora speaks the language chosen the next time it starts.</source>
        <translation>Tallora verwendet die gewählte Sprache ab dem nächsten Start.</translation>
    </message>
    <message>
        <source>Print &amp;Labels...</source>
        <translation>E&amp;tiketten drucken...</translation>
    </message>
    <message>
        <source>Make a label with a barcode for every piece, as a PDF file, and open it</source>
        <translation>Für jedes Teil ein Etikett mit Barcode als PDF-Datei erstellen und öffnen</translation>
    </message>
    <message>
        <source>Export Sa&amp;w Sheet...</source>
        <translation>Säge&amp;liste exportieren...</translation>
    </message>
    <message>
        <source>Write the bars in cutting order, as PDF or CSV, for the saw</source>
        <translation>Die Stäbe in Schnittreihenfolge als PDF oder CSV für die Säge schreiben</translation>
    </message>
    <message>
        <source>The labels could not be written to<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Die Etiketten konnten nicht geschrieben werden nach<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
    <message>
        <source>The labels were written to<byte value="xd"/>
%1<byte value="xd"/>
but no program could be started to show them.</source>
        <translation>Die Etiketten wurden geschrieben nach<byte value="xd"/>
%1<byte value="xd"/>
aber es konnte kein Programm gestartet werden, um sie anzuzeigen.</translation>
    </message>
    <message>
        <source>Export Saw Sheet</source>
        <translation>Sägeliste exportieren</translation>
    </message>
    <message>
        <source>PDF file (*.pdf)|*.pdf|CSV file (*.csv)|*.csv|Any file (*.*)|*.*</source>
        <translation>PDF-Datei (*.pdf)|*.pdf|CSV-Datei (*.csv)|*.csv|Alle Dateien (*.*)|*.*</translation>
    </message>
    <message>
        <source>The saw sheet could not be written to<byte value="xd"/>
%1<byte value="xd"/>
%2</source>
        <translation>Die Sägeliste konnte nicht geschrieben werden nach<byte value="xd"/>
%1<byte value="xd"/>
%2</translation>
    </message>
</context>
<context>
    <name>tallora::ProgressWindow</name>
    <message>
        <source>Calculation Progress</source>
        <translation>Fortschritt der Berechnung</translation>
    </message>
    <message>
        <source>Calculating Solution</source>
        <translation>Lösung wird berechnet</translation>
    </message>
    <message>
        <source>Please wait a moment...</source>
        <translation>Bitte einen Moment warten...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
</context>
<context>
    <name>tallora::SettingsPanel</name>
    <message>
        <source> Settings </source>
        <translation> Einstellungen </translation>
    </message>
    <message>
        <source>Scrap all waste</source>
        <translation>Alles als Verschnitt</translation>
    </message>
    <message>
        <source>Check this box to class all waste as &apos;scrap&apos;</source>
        <translation>Ankreuzen, um alle Reste als &apos;Verschnitt&apos; zu werten</translation>
    </message>
    <message>
        <source>Kerf: </source>
        <translation>Schnittfuge: </translation>
    </message>
    <message>
        <source>Click to adjust the kerf setting (amount of bar wasted for each saw cut)</source>
        <translation>Klicken, um die Schnittfuge einzustellen (Materialverlust je Sägeschnitt)</translation>
    </message>
    <message>
        <source>Trim: </source>
        <translation>Besäumen: </translation>
    </message>
    <message>
        <source>Click to adjust the trim setting (amount of bar wasted to square or clean up the bar)</source>
        <translation>Klicken, um das Besäumen einzustellen (Materialverlust zum Begradigen der Stange)</translation>
    </message>
    <message>
        <source>Hold: </source>
        <translation>Einspannen: </translation>
    </message>
    <message>
        <source>Click to adjust the hold setting (amount of bar wasted to hold onto to produce the last piece) Will be added to any scrap or offcuts left over when the bar is processed</source>
        <translation>Klicken, um das Einspannen einzustellen (Material, das zum Halten für das letzte Teil verloren geht). Wird Verschnitt oder Reststücken der Stange zugerechnet</translation>
    </message>
    <message>
        <source>Scrap waste under: </source>
        <translation>Verschnitt unter: </translation>
    </message>
    <message>
        <source>Click to change the length of any waste material saved as offcuts</source>
        <translation>Klicken, um die Länge zu ändern, ab der Reste als Reststücke aufbewahrt werden</translation>
    </message>
</context>
<context>
    <name>tallora::StatisticsPanel</name>
    <message>
        <source> Statistics </source>
        <translation> Statistik </translation>
    </message>
    <message>
        <source> Saw cuts: %1    Length sawn: %2 </source>
        <translation> Sägeschnitte: %1    Gesägte Länge: %2 </translation>
    </message>
</context>
</TS>
