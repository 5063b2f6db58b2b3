// Registers the host with the browsers, or removes the registrations.
#include <iostream>

#include "Registration.h"

int main(int argc, char** argv) {
    return registration::run(registration::platform::arguments(argc, argv), std::cout, std::cerr);
}
