; 6502 sample of the test ROM kit: writes the Fibonacci numbers (mod 256) 1, 1, 2, 3 ... to
; $0300..$030F, then stops on itself at $0203.
        .setcpu "6502"
        .segment "CODE"
        jmp start
done:   jmp done

start:  lda #1
        sta $0300
        sta $0301
        ldx #2
next:   lda $02FE,x
        clc
        adc $02FF,x
        sta $0300,x
        inx
        cpx #16
        bne next
        jmp done
