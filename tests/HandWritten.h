#pragma once

#include <QByteArray>

// As the game or a spreadsheet writes it, under the first versions' header, a review with its
// multiples let pass among them; then nine lines that are no match, as a hand edit leaves them,
// and one being written.
const QByteArray handWritten =
    "\xEF\xBB\xBF"
    "data e ora;utente;nome;lezione;tipo;punteggio;giusti;sbagliati;numeri sbagliati;fine;"
    "durata in secondi;record\r\n"
    "2026-10-01 09:00:00;alunno01;Anna;15;gara;5;5;0;;uscita;300;sì\r\n"
    "2026-10-02 09:00:00;alunno01;anna ;15;gara;12;16;1;52;tempo scaduto;300;sì\r\n"
    "2026-10-03 09:00:00;alunno01;Anna;15;gara;-1;7;2;47 52;uscita;200;no\r\n"
    "2026-10-03 10:00:00;alunno01;Anna;3;allenamento;4;4;0;;nuova gara;60;no\n"
    "2026-10-03 11:00:00;alunno01;Anna;15;allenamento;20;20;0;;uscita;60;no\r\n"
    "2026-10-04 09:00:00;alunno02;Anna;15;gara;2;2;0;;finestra chiusa;30;no\r\n"
    "2026-10-04 10:00:00;alunno02;Anna;15;ripasso;-2;2;1;47;uscita;60;no;45 60\r\n"
    "2026-10-05 09:00:00;alunno03;\"Bea \"\"B\"\"; 3A\";15;gara;1;1;0;;uscita;100;no\r\n"
    "2026-10-06 09:00:00;alunno03;Bea;15;gara;tanti;1;0;;uscita;100;no\r\n"
    "-026-10-06 09:00:00;alunno03;Bea;15;gara;1;1;0;;uscita;100;no\r\n"
    "2026-10-06 09:00:00;alunno03;Bea;7;gara;1;1;0;;uscita;100;no\r\n"
    "2026-10-06 09:00:00;alunno03;Bea;15;gara;1;-1;0;;uscita;100;no\r\n"
    "2026-02-30 09:00:00;alunno03;Bea;15;gara;1;1;0;;uscita;100;no\r\n"
    "2026-10-06 09:00:00;alunno03;Bea;15;gara;1;1;0;;uscita;-5;no\r\n"
    "2026-10-06 09:00:00;alunno03;Bea;15;gara;-3;1;1;;uscita;100;no\r\n"
    "2026-10-06 09:00:00;alunno03;Bea;15;ripasso;0;0;0;;uscita;100;no;45;60\r\n"
    "2026-10-06 09:00:00;alunno03;Bea;15;ripasso;0;0;0;;uscita;1;no;45 60 75\r\n"
    "2026-10-07 09:00:00;alunno03;Bea;15";
