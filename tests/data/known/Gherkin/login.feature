# Login of a registered user.
Feature: Login
  Users sign in with their password.

  Scenario: Correct password
    Given a user "alice" with password "s3cret#1"
    When she signs in
    Then she sees her dashboard

  # The message text is checked as a whole.
  Scenario: Wrong password
    When she signs in with "wrong"
    Then she sees the message:
      """
      # Wrong password, try again.
      """
