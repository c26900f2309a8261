;----> FS Coordinates:    47 30.50   -122 18.25

;----> The next two files MUST be included within the same directory as
;----> BGLC.exe when this file is assembled (compiled).

include TDFHeaders.inc
include TDFMacros.inc

;----> Begin Header Section <----

BGLHeader          48, 46, -121, -123, LWMHeader, TerrainHeaderStart

LWMHeader        label        word

                  LWMFileHeader 513, LWMIndexStart, LWMStart, LWMEnd

LWMStart           label        word

;----> End Header Section <----

;----> Begin Cell_123_120's ----> Area (LOD 13) data information <----

                  datamark_0        label        word

;----> The next two lines begin your LOD 13 area data.  If you have more than one LOD 13
;----> area then you need these two lines to start the next and each successive LOD 13 area as well.
;----> See Help menu for parameter information and explanations.

LWMDataAreaDrawPolygons 1, 3, 1, 2, 27

LWMPoly2  03, 0, 0, 0, 0

LWMPoint 128, 128
LWMPoint 144, 128
LWMPoint 144, 131


                  datamark_1        label        word   ;----> This line goes under all LOD 13 areas used in this file

;----> End Cell_123_120's ----> Area (LOD 13) data information <----

;----> Begin Cell_123_120's defination data information <----

;----> Please see Help menu for parameter information and explanations.

Cell_123_120       EQU        LWMCellID   0, 0, 3, 123, 120

                  LWMIndexStart        label        word

                         LWMIndexHeader   1, LWMIndexData

                  LWMIndexData         label        word

                         LWMIndexEntry      Cell_123_120, LWMStart, datamark_0, datamark_1

;----> End Cell_123_120's defination data information <----

;----> The next line below ENDS this file <----

LWMEnd        label        word

