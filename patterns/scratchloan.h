#pragma once

// The pattern geometry routines (the hole layout, the mini-rib unfolding,
// the cell strips, the diagonal shapes) keep their working values in the
// design record. A sheet writer only reads the design: it lends the record
// to those routines for the time it draws, and the loan puts every working
// value back as it was when it ends, so that the design the writer was given
// is the same afterwards, also while other code reads it.

class ParaStruct;
struct ScratchValues;

class ScratchLoan
{
public:
    explicit ScratchLoan(const ParaStruct* design);
    ~ScratchLoan();
    ScratchLoan(const ScratchLoan&) = delete;
    ScratchLoan& operator=(const ScratchLoan&) = delete;

    // The record the routines may work in.
    ParaStruct* design() const { return record; }

private:
    ParaStruct* record;
    ScratchValues* saved;
};
