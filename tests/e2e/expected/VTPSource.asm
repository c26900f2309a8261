;----> FS Coordinates:    47 30.50   -122 18.25
;----> VTP Method2 road/line/shoreline

;----> The next two files MUST be included within the same directory as
;----> BGLC.exe when this file is assembled (compiled).

include TDFHeaders.inc
include TDFMacros.inc

;----> Begin Header Section <----

BGLHeader          48, 46, -121, -123, TerrainHeaderStart, VTPHeader

VTPHeader        label        word
    VTPFileHeader  256, VTPIndexStart, TextureStart, VTPEnd

;----> End Header Section <----

;----> Start File Data <----

VTPStart        label        word
datamark_v0        label        word

;----> Begin Data Area Information <----

VTPDataArea 1, 1, 0, 0
VTPLayer 8, 0
VTPNumTexturesInLayer 1, 0
VTPTextureId 4, 0
VTPPolyCount 1, 0

VTPPolyMethod2 05, 1, 0

VTPWidePoint 4718, 1, 11093, 0
VTPWidePointWidth 1
VTPWidePoint 4718, 1, 11093, 0
VTPWidePointWidth 0
VTPWidePoint 4718, 0, 11093, 0
VTPWidePoint 4734, 0, 11093, 0
VTPWidePoint 4734, 1, 11096, 0
VTPWidePointWidth 0

datamark_v1        label        word

;----> End Data Area Information <----

;----> Begin Cell_123_120's defination data information <----

Cellv_123_120       EQU        VTPCellID   0, 123, 120

VTPIndexStart        label        word
VTPIndexHeader  1, VTPIndexData, VTPStart
VTPIndexData        label        word
VTPIndexEntry Cellv_123_120, VTPStart, datamark_v0, datamark_v1

;----> End Cell_123_120's defination data information <----

;----> Begin Texture Information <----

TextureStart        label        word
VTPTextureListHeader 5, TextureIndexStart, TextureDataStart, TextureDataEnd

TextureIndexStart        label        word
  VTPTextureListEntry TextureDataStart, texturemark_0, texturemark_1
  VTPTextureListEntry TextureDataStart, texturemark_1, texturemark_2
  VTPTextureListEntry TextureDataStart, texturemark_2, texturemark_3
  VTPTextureListEntry TextureDataStart, texturemark_3, texturemark_4
  VTPTextureListEntry TextureDataStart, texturemark_4, texturemark_5

TextureDataStart   label        word
texturemark_0       label        word
                   VTPTextureName Select VTP Road/Line/Shoreline
VTPTextureType 2, 0, 0, 4
texturemark_1       label        word
                   VTPTextureName Select VTP Road/Line/Shoreline
VTPTextureType 2, 0, 0, 4
texturemark_2       label        word
                   VTPTextureName Select VTP Road/Line/Shoreline
VTPTextureType 2, 0, 0, 4
texturemark_3       label        word
                   VTPTextureName Select VTP Road/Line/Shoreline
VTPTextureType 2, 0, 0, 4
texturemark_4       label        word
                   VTPTextureName Select VTP Road/Line/Shoreline
VTPTextureType 2, 0, 0, 4
texturemark_5       label        word
                   VTPTextureName Select VTP Road/Line/Shoreline
VTPTextureType 2, 0, 0, 4

TextureDataEnd    label        word

;----> End Texture Information <----
;----> The next line below ENDS this file <----

VTPEnd        label        word

