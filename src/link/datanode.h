// The DATA node of the link file: the 35 rate groups of the principle and
// simplified results in their fixed order, each with its item elements, and
// the refund-statement group of the company kind at the end.
#pragma once

#include <string>

class TXmlSaveDoc;
class TSyohizeiDataMake;

// Group element of kind 0 (principle) or 1 (simplified) at position 1..27;
// "" for an empty entry or a position outside the table.
void GroupElementName(int Kind, int Position, std::string& Name);
// Item element of a group code ("U10", "SK8", "C3", "H5", ...) of kind 0 or 1
// at a row and column of its table: the stem followed by the rate suffix
// ("3", "5", "8", "8K", "10"); "" where the table has no element.
void ItemElementName(const std::string& Code, int Kind, std::string& Name, int Column, int Row);

// Adds DATA under the document element with the groups that the builder's era
// enables, filled from its value texts, and the refund-statement group of the
// company kind (KANPUH for 1 and 3, KANPUK for 2) from the refund records.
void WriteDataNode(TXmlSaveDoc& Doc, const TSyohizeiDataMake& Builder, int CompanyKind);
