// SPDX-License-Identifier: MIT
pragma solidity ^0.8.20;

/* A counter anyone may raise;

   only the owner may reset it. */
contract Counter {
    address public owner = msg.sender;
    uint256 public count; // starts at zero

    /// Raises the count by one.
    function raise() external {
        count += 1;
    }

    function reset() external {
        require(msg.sender == owner, "owner only // sorry");
        count = 0; /* back to zero */
    }
}
