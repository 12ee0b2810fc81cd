; The test program for the RType II board: the RType program with its RType II differences.
%define RTYPE2
%include "irem_test.asm"
