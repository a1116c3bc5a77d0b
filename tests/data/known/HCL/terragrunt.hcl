# Network of the demo.
terraform {
  required_version = ">= 1.5"
}

/* The VPC spans

   two zones. */
resource "aws_vpc" "main" {
  cidr_block = "10.0.0.0/16" // private range
  tags = { Name = "main # vpc" } # tagged
  endpoint = "https://example.com"
}

// Output of the id.
output "vpc_id" {
  value = aws_vpc.main.id
}
