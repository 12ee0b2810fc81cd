#include "m6809_decode.h"

namespace vortastr::m6809 {

// One entry per opcode, sixteen to a row; the row is the opcode's high nibble.
#define D(op, mode, cycles) {Op::op, Mode::mode, cycles}
#define XX {Op::Invalid, Mode::Inh, 0}

const Decode page1[256] = {
/*        0               1               2               3               4               5               6               7               8               9               A               B               C               D               E               F            */
/* 0 */ D(Neg,Dir,6),   XX,             XX,             D(Com,Dir,6),   D(Lsr,Dir,6),   XX,             D(Ror,Dir,6),   D(Asr,Dir,6),   D(Asl,Dir,6),   D(Rol,Dir,6),   D(Dec,Dir,6),   XX,             D(Inc,Dir,6),   D(Tst,Dir,6),   D(Jmp,Dir,3),   D(Clr,Dir,6),
/* 1 */ D(Page2,Inh,0), D(Page3,Inh,0), D(Nop,Inh,2),   D(Sync,Inh,0),  XX,             XX,             D(Lbra,Rel16,5),D(Lbsr,Rel16,9),XX,             D(Daa,Inh,2),   D(Orcc,Imm8,3), XX,             D(Andcc,Imm8,3),D(Sex,Inh,2),   D(Exg,Imm8,8),  D(Tfr,Imm8,7),
/* 2 */ D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),  D(Bcc,Rel8,3),
/* 3 */ D(Leax,Idx,4),  D(Leay,Idx,4),  D(Leas,Idx,4),  D(Leau,Idx,4),  D(Pshs,Imm8,5), D(Puls,Imm8,5), D(Pshu,Imm8,5), D(Pulu,Imm8,5), XX,             D(Rts,Inh,5),   D(Abx,Inh,3),   D(Rti,Inh,6),   D(Cwai,Imm8,21),D(Mul,Inh,11),  D(Reset,Inh,0), D(Swi,Inh,19),
/* 4 */ D(Neg,AccA,2),  XX,             XX,             D(Com,AccA,2),  D(Lsr,AccA,2),  XX,             D(Ror,AccA,2),  D(Asr,AccA,2),  D(Asl,AccA,2),  D(Rol,AccA,2),  D(Dec,AccA,2),  XX,             D(Inc,AccA,2),  D(Tst,AccA,2),  XX,             D(Clr,AccA,2),
/* 5 */ D(Neg,AccB,2),  XX,             XX,             D(Com,AccB,2),  D(Lsr,AccB,2),  XX,             D(Ror,AccB,2),  D(Asr,AccB,2),  D(Asl,AccB,2),  D(Rol,AccB,2),  D(Dec,AccB,2),  XX,             D(Inc,AccB,2),  D(Tst,AccB,2),  XX,             D(Clr,AccB,2),
/* 6 */ D(Neg,Idx,6),   XX,             XX,             D(Com,Idx,6),   D(Lsr,Idx,6),   XX,             D(Ror,Idx,6),   D(Asr,Idx,6),   D(Asl,Idx,6),   D(Rol,Idx,6),   D(Dec,Idx,6),   XX,             D(Inc,Idx,6),   D(Tst,Idx,6),   D(Jmp,Idx,3),   D(Clr,Idx,6),
/* 7 */ D(Neg,Ext,7),   XX,             XX,             D(Com,Ext,7),   D(Lsr,Ext,7),   XX,             D(Ror,Ext,7),   D(Asr,Ext,7),   D(Asl,Ext,7),   D(Rol,Ext,7),   D(Dec,Ext,7),   XX,             D(Inc,Ext,7),   D(Tst,Ext,7),   D(Jmp,Ext,3),   D(Clr,Ext,7),
/* 8 */ D(Suba,Imm8,2), D(Cmpa,Imm8,2), D(Sbca,Imm8,2), D(Subd,Imm16,4),D(Anda,Imm8,2), D(Bita,Imm8,2), D(Lda,Imm8,2),  XX,             D(Eora,Imm8,2), D(Adca,Imm8,2), D(Ora,Imm8,2),  D(Adda,Imm8,2), D(Cmpx,Imm16,4),D(Bsr,Rel8,7),  D(Ldx,Imm16,3), XX,
/* 9 */ D(Suba,Dir,4),  D(Cmpa,Dir,4),  D(Sbca,Dir,4),  D(Subd,Dir,6),  D(Anda,Dir,4),  D(Bita,Dir,4),  D(Lda,Dir,4),   D(Sta,Dir,4),   D(Eora,Dir,4),  D(Adca,Dir,4),  D(Ora,Dir,4),   D(Adda,Dir,4),  D(Cmpx,Dir,6),  D(Jsr,Dir,7),   D(Ldx,Dir,5),   D(Stx,Dir,5),
/* A */ D(Suba,Idx,4),  D(Cmpa,Idx,4),  D(Sbca,Idx,4),  D(Subd,Idx,6),  D(Anda,Idx,4),  D(Bita,Idx,4),  D(Lda,Idx,4),   D(Sta,Idx,4),   D(Eora,Idx,4),  D(Adca,Idx,4),  D(Ora,Idx,4),   D(Adda,Idx,4),  D(Cmpx,Idx,6),  D(Jsr,Idx,7),   D(Ldx,Idx,5),   D(Stx,Idx,5),
/* B */ D(Suba,Ext,5),  D(Cmpa,Ext,5),  D(Sbca,Ext,5),  D(Subd,Ext,7),  D(Anda,Ext,5),  D(Bita,Ext,5),  D(Lda,Ext,5),   D(Sta,Ext,5),   D(Eora,Ext,5),  D(Adca,Ext,5),  D(Ora,Ext,5),   D(Adda,Ext,5),  D(Cmpx,Ext,7),  D(Jsr,Ext,8),   D(Ldx,Ext,6),   D(Stx,Ext,6),
/* C */ D(Subb,Imm8,2), D(Cmpb,Imm8,2), D(Sbcb,Imm8,2), D(Addd,Imm16,4),D(Andb,Imm8,2), D(Bitb,Imm8,2), D(Ldb,Imm8,2),  XX,             D(Eorb,Imm8,2), D(Adcb,Imm8,2), D(Orb,Imm8,2),  D(Addb,Imm8,2), D(Ldd,Imm16,3), XX,             D(Ldu,Imm16,3), XX,
/* D */ D(Subb,Dir,4),  D(Cmpb,Dir,4),  D(Sbcb,Dir,4),  D(Addd,Dir,6),  D(Andb,Dir,4),  D(Bitb,Dir,4),  D(Ldb,Dir,4),   D(Stb,Dir,4),   D(Eorb,Dir,4),  D(Adcb,Dir,4),  D(Orb,Dir,4),   D(Addb,Dir,4),  D(Ldd,Dir,5),   D(Std,Dir,5),   D(Ldu,Dir,5),   D(Stu,Dir,5),
/* E */ D(Subb,Idx,4),  D(Cmpb,Idx,4),  D(Sbcb,Idx,4),  D(Addd,Idx,6),  D(Andb,Idx,4),  D(Bitb,Idx,4),  D(Ldb,Idx,4),   D(Stb,Idx,4),   D(Eorb,Idx,4),  D(Adcb,Idx,4),  D(Orb,Idx,4),   D(Addb,Idx,4),  D(Ldd,Idx,5),   D(Std,Idx,5),   D(Ldu,Idx,5),   D(Stu,Idx,5),
/* F */ D(Subb,Ext,5),  D(Cmpb,Ext,5),  D(Sbcb,Ext,5),  D(Addd,Ext,7),  D(Andb,Ext,5),  D(Bitb,Ext,5),  D(Ldb,Ext,5),   D(Stb,Ext,5),   D(Eorb,Ext,5),  D(Adcb,Ext,5),  D(Orb,Ext,5),   D(Addb,Ext,5),  D(Ldd,Ext,6),   D(Std,Ext,6),   D(Ldu,Ext,6),   D(Stu,Ext,6),
};

// Long branches cost 5 when taken; the engine adds one when they are not.
const Decode page2[256] = {
/*        0               1               2               3               4               5               6               7               8               9               A               B               C               D               E               F            */
/* 0 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 1 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 2 */ XX,             D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),D(LBcc,Rel16,5),
/* 3 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Swi2,Inh,20),
/* 4 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 5 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 6 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 7 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 8 */ XX,             XX,             XX,             D(Cmpd,Imm16,5),XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Cmpy,Imm16,5),XX,             D(Ldy,Imm16,4), XX,
/* 9 */ XX,             XX,             XX,             D(Cmpd,Dir,7),  XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Cmpy,Dir,7),  XX,             D(Ldy,Dir,6),   D(Sty,Dir,6),
/* A */ XX,             XX,             XX,             D(Cmpd,Idx,7),  XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Cmpy,Idx,7),  XX,             D(Ldy,Idx,6),   D(Sty,Idx,6),
/* B */ XX,             XX,             XX,             D(Cmpd,Ext,8),  XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Cmpy,Ext,8),  XX,             D(Ldy,Ext,7),   D(Sty,Ext,7),
/* C */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Lds,Imm16,4), XX,
/* D */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Lds,Dir,6),   D(Sts,Dir,6),
/* E */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Lds,Idx,6),   D(Sts,Idx,6),
/* F */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Lds,Ext,7),   D(Sts,Ext,7),
};

const Decode page3[256] = {
/*        0               1               2               3               4               5               6               7               8               9               A               B               C               D               E               F            */
/* 0 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 1 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 2 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 3 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Swi3,Inh,20),
/* 4 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 5 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 6 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 7 */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* 8 */ XX,             XX,             XX,             D(Cmpu,Imm16,5),XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Cmps,Imm16,5),XX,             XX,             XX,
/* 9 */ XX,             XX,             XX,             D(Cmpu,Dir,7),  XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Cmps,Dir,7),  XX,             XX,             XX,
/* A */ XX,             XX,             XX,             D(Cmpu,Idx,7),  XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Cmps,Idx,7),  XX,             XX,             XX,
/* B */ XX,             XX,             XX,             D(Cmpu,Ext,8),  XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             D(Cmps,Ext,8),  XX,             XX,             XX,
/* C */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* D */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* E */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
/* F */ XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,             XX,
};

#undef D
#undef XX

} // namespace vortastr::m6809
