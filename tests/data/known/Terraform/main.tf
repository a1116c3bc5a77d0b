# The bucket that holds the release files.
terraform {
  required_version = ">= 1.5"
}

/* Names follow the account's

   naming rules. */
resource "aws_s3_bucket" "releases" {
  bucket = "kordel-releases" // unique per account
  tags = {
    Url = "https://example.org/#downloads"
    Team = "build" # owners
  }
}

output "bucket_arn" {
  value = aws_s3_bucket.releases.arn
}
