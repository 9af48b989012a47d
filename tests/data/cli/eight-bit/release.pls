[playlist]
File1=01. Pierwsza.mp3
Title1=Zespó³ Testowy - Pierwsza
Length1=205
File2=02. Druga.mp3
Title2=Zespó³ Testowy - Druga – czêœæ
Length2=261
File3=03. Trzecia.mp3
Title3=Zespó³ Testowy - Trzecia
Length3=131
NumberOfEntries=3
Version=2
