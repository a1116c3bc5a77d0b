# @version ^0.3.10
# A counter anyone may raise.

count: public(uint256)
owner: public(address)

@external
def __init__():
    """
    Sets the owner to the deployer.
    """
    self.owner = msg.sender  # the deployer

@external
def raise_count():
    self.count += 1
    log_note: String[20] = "# not a comment"
