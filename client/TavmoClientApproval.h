/*
 * Records of the website approval: the library remembers which websites the
 * user approved for good. Both travel as inner records of private requests.
 */
#ifndef TAVMO_CLIENT_APPROVAL_H
#define TAVMO_CLIENT_APPROVAL_H

/* Room for a domain of 256 bytes and its terminator. */
#define TAVMO_CLIENT_DOMAIN_BYTES 257

/* TAVMO_CLIENT_PRIVATE_REQUEST_GET_APPROVED_DOMAIN: the library sets
   `approved` to 1 when the user approved this domain earlier. */
typedef struct TavmoClientApprovedDomainQuery {
    char domain[TAVMO_CLIENT_DOMAIN_BYTES];
    unsigned char approved;
} TavmoClientApprovedDomainQuery;
TAVMO_CLIENT_SIZE(TavmoClientApprovedDomainQuery, 258, 258);
TAVMO_CLIENT_OFFSET(TavmoClientApprovedDomainQuery, approved, 257, 257);

/* TAVMO_CLIENT_PRIVATE_REQUEST_SAVE_APPROVED_DOMAIN */
typedef struct TavmoClientApprovedDomainSave {
    char domain[TAVMO_CLIENT_DOMAIN_BYTES];
} TavmoClientApprovedDomainSave;
TAVMO_CLIENT_SIZE(TavmoClientApprovedDomainSave, 257, 257);

#endif
