; Test program for the Tunnel Hunt board: clears the 1-bit bitmap, then lights the bottom row
; (bit 0 of the first byte of every column) and a diagonal (column c, row 255 - c), and counts
; interrupts.
        .setcpu "6502"
        .include "clear_pages.inc"

BITMAP  = $0C00         ; 224 columns of 32 bytes
COLUMNS = 224
frames  = $10
pointer = $12
column  = $14

        .segment "CODE"
reset:  sei
        cld
        ldx #$FF
        txs
        lda #0
        sta frames

        clear_pages pointer, >BITMAP, $28

        lda #<BITMAP
        sta pointer
        lda #>BITMAP
        sta pointer+1
        lda #0
        sta column
@next:  ldy #0              ; bottom row
        lda #$01
        sta (pointer),y
        lda column          ; diagonal: byte column >> 3, bit column & 7
        lsr
        lsr
        lsr
        tay
        lda column
        and #7
        tax
        lda bits,x
        ora (pointer),y
        sta (pointer),y
        lda pointer         ; next column, 32 bytes on
        clc
        adc #32
        sta pointer
        bcc @same
        inc pointer+1
@same:  inc column
        lda column
        cmp #COLUMNS
        bne @next
        cli
@idle:  jmp @idle

irq:    inc frames
nmi:    rti

bits:   .byte $01, $02, $04, $08, $10, $20, $40, $80

        .segment "VECTORS"
        .word nmi, reset, irq
