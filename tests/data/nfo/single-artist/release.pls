[playlist]
File1=01 - Morning Tide.mp3
Title1=Aurora Vale - Morning Tide
Length1=225
File2=02 - Salt & Cedar.mp3
Title2=Aurora Vale - Salt & Cedar
Length2=242
File3=03 - Lanterns on the Quay.mp3
Title3=Aurora Vale - Lanterns on the Quay (Extended Night Version)
Length3=607
NumberOfEntries=3
Version=2
