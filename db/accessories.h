// accessories.h - the accessory array of an order: append, remove, overwrite.
//
// An order holds its accessories as one contiguous array from the private
// heap with a count; positions in it are the accessory indexes of the order
// window's list. The array grows and shrinks by one record at a time.
//
// The three dimensions (`wymiar`) are stored in the 24-byte column as three
// signed 64-bit little-endian values in ten-thousandths, dimension 1 first;
// those beyond `ilWym` are 0.
#ifndef KV_DB_ACCESSORIES_H
#define KV_DB_ACCESSORIES_H

#include <stdint.h>

#include "db/records.h"

// Appends a copy of *d. Failure ("Error of allocation of strDodatZam
// structure" for the first record, "Error of reallocation the strDodatZam
// structure" otherwise) leaves the array and the count as they were.
int AppendAccessory(strDodatZam** lista, int32_t* liczba, const strDodatZam* d, char* msg);

// Removes record k, moving the later ones down; removing the only record
// releases the array. When shrinking fails the array is restored and the
// text is "Error of reallocation the strDodatZam structure". An index outside
// the array fails with the same text and changes nothing.
int DeleteAccessory(strDodatZam** lista, int32_t* liczba, int32_t k, char* msg);

// Copies *d over record k; an index outside the array changes nothing.
void OverwriteAccessory(strDodatZam* lista, int32_t liczba, int32_t k, const strDodatZam* d);

// Sets the dimensions beyond ilWym (taken within 0..3) to 0, as they are stored.
void ZeroExtraDimensions(strDodatZam* d);

// The accessory's size is the model's ComputeAccessorySize (model/comparison.h).

#endif  // KV_DB_ACCESSORIES_H
